// The about box: the program's name and version, closed by its OK button.
#include "window/TAboutBox.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace kestal {

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("AboutBox"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(298, 190);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(8, 8, 282, 137);

    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setPixmap(style()->standardPixmap(QStyle::SP_MessageBoxInformation));
    picture->setGeometry(12, 12, 40, 40);

    auto* name = new QLabel(QStringLiteral("Kestal 2.0"), panel);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont large = name->font();
    large.setPointSize(large.pointSize() + 4);
    large.setBold(true);
    name->setFont(large);
    name->setGeometry(64, 14, 200, 26);

    auto* version = new QLabel(QStringLiteral("Version 2.0"), panel);
    version->setObjectName(QStringLiteral("Version"));
    version->setGeometry(64, 46, 200, 18);

    auto* comments = new QLabel(QString::fromUtf8("Моделирование процесса возникновения происшествия "
                                                  "в системе Человек-Машина-Среда"),
                                panel);
    comments->setObjectName(QStringLiteral("Comments"));
    comments->setWordWrap(true);
    comments->setGeometry(12, 76, 258, 50);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    ok->setGeometry(111, 155, 75, 25);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
}

}  // namespace kestal
