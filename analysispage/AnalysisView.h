// What every tab of the page "Анализ" is: a view of the session that catches up with it only while
// it is shown, and only where what it shows has changed.
#pragma once

#include <QWidget>

#include <functional>

#include "assessment/Session.h"

namespace kestal {

// How a tab changes the session: the window runs the action on its session and shows it.
using SessionEdit = std::function<void(const std::function<void(Session&)>& action)>;

class AnalysisView : public QWidget {
public:
    explicit AnalysisView(const Session& session) : session_(session) {}
    // Brings the view in line with the session while it is shown; a hidden view waits for its showing.
    void Show();

protected:
    void showEvent(QShowEvent* event) override;
    // Brings the view in line when what it depends on changed since it last did.
    virtual void Refresh() = 0;

    const Session& session_;
};

}  // namespace kestal
