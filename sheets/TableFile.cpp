// Reading a table file: XLSX or a delimited text table, by its first bytes.
#include "sheets/TableFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/DelimitedTable.h"
#include "common/KestalError.h"

namespace kestal {

namespace {

// A summary's table of a hundred thousand workplaces is a few megabytes.
constexpr std::streamoff MaxTableBytes = 256LL * 1024 * 1024;

[[noreturn]] void Refuse(const std::string& path, const std::string& problem)
{
    throw KestalError("Файл «" + path + "» не прочитан: " + problem);
}

}  // namespace

TableCells ReadTableFile(const std::string& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) Refuse(path, "это папка, а не файл");
    std::ifstream file(path, std::ios::binary);
    if (!file) Refuse(path, "файл не открывается");
    char head[4] = {};
    file.read(head, sizeof head);
    if (file.gcount() == 4 && std::string(head, 4) == std::string("PK\x03\x04", 4)) {
        file.close();
        try {
            return ReadXlsxCells(path);
        } catch (const KestalError& error) {
            Refuse(path, error.what());
        }
    }
    file.clear();
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0) Refuse(path, "файл не читается");
    if (size > MaxTableBytes) Refuse(path, "файл больше 256 МБ");
    file.seekg(0);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!file.read(bytes.data(), size)) Refuse(path, "файл не читается");
    auto read = ReadDelimitedTable(bytes);
    if (const TableRefusal* refusal = std::get_if<TableRefusal>(&read)) Refuse(path, RefusalLine(*refusal));
    return std::move(std::get<DelimitedTable>(read).rows);
}

}  // namespace kestal
