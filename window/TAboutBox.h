// The about box: the program's name and version, closed by its OK button.
#pragma once

#include <QDialog>

namespace kestal {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    // A small window owned by `owner`, not modal; it deletes itself when closed.
    explicit TAboutBox(QWidget* owner);
};

}  // namespace kestal
