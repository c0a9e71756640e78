// XLSX reading where the program was built without the toolkit: every such file is refused.
#include "common/KestalError.h"
#include "sheets/TableFile.h"

namespace kestal {

TableCells ReadXlsxCells(const std::string&)
{
    throw KestalError("книги XLSX не читаются: программа собрана без Qt или libzip; сохраните таблицу как CSV");
}

}  // namespace kestal
