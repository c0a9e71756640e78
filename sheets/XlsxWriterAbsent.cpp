// XLSX writing where the program was built without libxlsxwriter: every such file is refused.
#include "common/KestalError.h"
#include "sheets/TableFile.h"

namespace kestal {

void WriteXlsxFile(const std::string& path, const std::string&, const std::vector<std::vector<SheetCell>>&, bool)
{
    throw KestalError("Файл «" + path + "» не сохранён: программа собрана без libxlsxwriter");
}

}  // namespace kestal
