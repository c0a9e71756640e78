// A panel with a caption and a colour that reports clicks and double clicks.
#pragma once

#include <QColor>
#include <QFrame>

namespace kestal {

// The system's light 3-D colour: the colour of every panel that is not highlighted.
QColor LightColour();
// The colour of a highlighted panel: red, green and blue 128.
QColor HighlightColour();

class FactorPanel : public QFrame {
    Q_OBJECT
public:
    // A panel with a lowered inner bevel, its caption drawn on the left, on the light 3-D colour.
    FactorPanel(QWidget* parent, const QString& name, const QString& caption);

    QString caption() const { return caption_; }
    QColor colour() const;
    void setColour(const QColor& colour);

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString caption_;
    bool pressed_ = false;  // a left press that its release completes into a click
};

}  // namespace kestal
