// The diagram of the accident process: from the initiation through the nodes "Гомеостазис" to
// "Происшествие" as the stages branch, each node with its exact probability and the last run's
// frequency.
#pragma once

#include <QWidget>

#include <optional>

#include "analysis/ExactNodes.h"
#include "analysis/RunPrecision.h"

class QPainter;

namespace kestal {

// Paints the diagram into `area`: the passing nodes C, E, G, I in a column below the initiation,
// each node that ends a stage (B, D, F, H) right of the node it branches from. `run` may be null.
// A `note` stands in the free cell right of the last node.
void PaintNetwork(QPainter& painter, const QRectF& area, const NodeProbabilities& exact, const RunPrecision* run,
                  const QString& note = {});

// The diagram as a widget.
class NetworkDiagram : public QWidget {
    Q_OBJECT
public:
    explicit NetworkDiagram(QWidget* parent);
    void setFigures(const NodeProbabilities& exact, const std::optional<RunPrecision>& run, const QString& note = {});
    const QString& note() const { return note_; }
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    NodeProbabilities exact_;
    std::optional<RunPrecision> run_;
    QString note_;
};

}  // namespace kestal
