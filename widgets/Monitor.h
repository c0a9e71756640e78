// Monitors and listings: read-only text panes written as lines.
#pragma once

#include <QPlainTextEdit>
#include <QStringList>

#include <span>

namespace kestal {

// A read-only pane on the tooltip background colour; `wrap` breaks long lines at the pane's width.
QPlainTextEdit* MakeMonitor(QWidget* parent, const char* name, bool wrap);

// Clears the pane and appends each line; an empty string is an empty line.
void WriteLines(QPlainTextEdit* pane, const QStringList& lines);
void WriteLines(QPlainTextEdit* pane, std::span<const char* const> lines);

// The pane's lines, as WriteLines wrote them.
QStringList Lines(const QPlainTextEdit* pane);

}  // namespace kestal
