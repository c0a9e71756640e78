// Writing a worksheet as an XLSX file through libxlsxwriter.
#include <xlsxwriter.h>

#include <cstdio>

#include "common/KestalError.h"
#include "sheets/TableFile.h"

namespace kestal {

void WriteXlsxFile(const std::string& path, const std::string& sheetName,
                   const std::vector<std::vector<SheetCell>>& rows, bool inlineStrings)
{
    const auto refuse = [&](const std::string& reason) {
        throw KestalError("Файл «" + path + "» не сохранён: " + reason);
    };
    if (rows.size() > LXW_ROW_MAX) refuse("больше 1 048 576 строк");
    lxw_workbook_options options{};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
    if (!workbook) refuse("книга не создаётся");
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.c_str());
    lxw_error error = sheet ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
    for (std::size_t r = 0; r < rows.size() && error == LXW_NO_ERROR; ++r) {
        for (std::size_t c = 0; c < rows[r].size() && error == LXW_NO_ERROR; ++c) {
            if (c >= LXW_COL_MAX) {
                error = LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
                break;
            }
            const auto row = static_cast<lxw_row_t>(r);
            const auto column = static_cast<lxw_col_t>(c);
            if (const std::string* text = std::get_if<std::string>(&rows[r][c]))
                error =
                    text->empty() ? LXW_NO_ERROR : worksheet_write_string(sheet, row, column, text->c_str(), nullptr);
            else
                error = worksheet_write_number(sheet, row, column, std::get<double>(rows[r][c]), nullptr);
        }
    }
    const lxw_error closed = workbook_close(workbook);  // frees the workbook whatever happened
    if (error == LXW_NO_ERROR) error = closed;
    if (error != LXW_NO_ERROR) {
        std::remove(path.c_str());
        refuse(lxw_strerror(error));
    }
}

}  // namespace kestal
