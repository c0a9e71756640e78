// Monitors and listings: read-only text panes written as lines.
#include "widgets/Monitor.h"

#include "widgets/UiText.h"

namespace kestal {

QPlainTextEdit* MakeMonitor(QWidget* parent, const char* name, bool wrap)
{
    auto* pane = new QPlainTextEdit(parent);
    pane->setObjectName(QString::fromLatin1(name));
    pane->setReadOnly(true);
    pane->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn);
    QPalette palette = pane->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    pane->setPalette(palette);
    return pane;
}

void WriteLines(QPlainTextEdit* pane, const QStringList& lines)
{
    // Clearing and appending line by line leaves exactly these blocks; writing them at once keeps
    // the view at the first line.
    pane->setPlainText(lines.join(QLatin1Char('\n')));
}

void WriteLines(QPlainTextEdit* pane, std::span<const char* const> lines)
{
    QStringList texts;
    for (const char* line : lines) texts << QText(line);
    WriteLines(pane, texts);
}

QStringList Lines(const QPlainTextEdit* pane) { return pane->toPlainText().split(QLatin1Char('\n')); }

}  // namespace kestal
