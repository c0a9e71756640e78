// Project files (.kestal): an assessment and what the pages show of it as versioned JSON in UTF-8,
// read back whole or refused with the first problem, and saved atomically. The format is described in
// docs/project-format.md.
#pragma once

#include <cstddef>
#include <string>

#include "assessment/SessionState.h"

namespace kestal {

inline constexpr const char* ProjectExtension = ".kestal";
inline constexpr const char* ProjectFormatName = "kestal-project";
inline constexpr int ProjectFormatVersion = 2;
inline constexpr std::size_t MaxProjectBytes = 10 * 1024 * 1024;

// The state as a project file: the assessment's sections, then the editor's and the study's.
// Floating-point numbers are written so that they read back bit for bit.
std::string ProjectJson(const SessionState& state);

// The state a project file holds: its assessment, and the editor's state over it. Everything is
// checked before anything is returned: a file that
// is not a project, empty, cut short, of a newer version, over 10 MB, not UTF-8, or holds a value of
// the wrong kind, range or count raises KestalError "Файл «<fileName>» не открыт: <place>: <problem>",
// naming the first problem found and its place (a line and column, or a path such as
// "measures[1].changes[0].factor").
SessionState ReadProject(const std::string& bytes, const std::string& fileName);

// The file at `path`, its size checked before it is read; ReadProject with the path as its name.
// Anything but a regular file (a folder, a pipe, a device) is refused before it is opened, and
// nothing waits: "Файл «<path>» не открыт: не удалось прочитать файл (<reason>)", the system's
// reasons in Russian words.
SessionState OpenProjectFile(const std::string& path);

// Writes `bytes` to a new file beside `path` ("<name>.<process>-<count>.tmp"), flushes it to the
// disk and renames it over `path`: a save that fails or is interrupted leaves the old file whole.
// Where `path` is a symbolic link, the file it leads to is written and the link kept. A file that
// is there and not regular, or read-only, is refused. Temporary files of `path` that a killed save
// left behind (their process has ended) are removed first. A failure raises KestalError
// "Файл «<path>» не сохранён: <step> (<reason>)" and leaves no new file behind.
void SaveProjectFile(const std::string& path, const std::string& bytes);

// The system's reason for a failed file operation (an errno value) in Russian words.
std::string FileErrorReason(int error);

}  // namespace kestal
