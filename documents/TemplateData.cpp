// The field catalogue's lookups and the checks of a catalogue and of one document's values.
#include "documents/TemplateData.h"

#include <cmath>
#include <set>

#include "common/KestalError.h"

namespace kestal {

namespace {

[[noreturn]] void Refuse(const std::string& problem) { throw KestalError(problem); }

bool IsDigits(const std::string& text, std::size_t from, std::size_t count)
{
    for (std::size_t i = from; i < from + count; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

int Number(const std::string& text, std::size_t from, std::size_t count) { return std::stoi(text.substr(from, count)); }

// A PNG starts with its signature and the header chunk, which gives the width and height.
bool IsPng(const std::string& png)
{
    static const std::string signature = "\x89PNG\r\n\x1a\n";
    if (png.size() < 24 || png.compare(0, 8, signature) != 0 || png.compare(12, 4, "IHDR") != 0) return false;
    auto word = [&](std::size_t at) {
        unsigned value = 0;
        for (std::size_t i = at; i < at + 4; ++i) value = value << 8 | static_cast<unsigned char>(png[i]);
        return value;
    };
    return word(16) > 0 && word(20) > 0;
}

// A picture's side on the page: a number of millimetres up to a metre.
bool IsPageLength(double mm) { return std::isfinite(mm) && mm > 0 && mm <= 1000; }

void CheckText(const FieldSpec& field, const std::string& value, const std::string& where)
{
    if (field.kind == FieldKind::Image) Refuse(where + "«" + field.name + "» — изображение, а не текст");
    if (field.kind != FieldKind::Date) return;
    try {
        DocumentDate(value);
    } catch (const KestalError& error) {
        Refuse(where + "«" + field.name + "»: " + error.what());
    }
}

}  // namespace

const FieldSpec* FindField(const std::vector<FieldSpec>& fields, const std::string& name)
{
    for (const FieldSpec& field : fields)
        if (field.name == name) return &field;
    return nullptr;
}

const ListSpec* FindList(const FieldCatalogue& catalogue, const std::string& name)
{
    for (const ListSpec& list : catalogue.lists)
        if (list.name == name) return &list;
    return nullptr;
}

void CheckCatalogue(const FieldCatalogue& catalogue)
{
    std::set<std::string> names;
    auto add = [](std::set<std::string>& seen, const std::string& name) {
        if (!seen.insert(name).second) Refuse("имя поля «" + name + "» в перечне полей дважды");
    };
    for (const FieldSpec& field : catalogue.fields) add(names, field.name);
    for (const ListSpec& list : catalogue.lists) {
        add(names, list.name);
        std::set<std::string> items;
        for (const FieldSpec& item : list.items) {
            add(items, item.name);
            if (item.kind == FieldKind::Image)
                Refuse("список «" + list.name + "»: изображение «" + item.name + "» не может быть полем строки");
        }
    }
}

void CheckValues(const FieldCatalogue& catalogue, const FieldValues& values)
{
    for (const auto& [name, value] : values.text) {
        const FieldSpec* field = FindField(catalogue.fields, name);
        if (!field) Refuse("значение неизвестного поля «" + name + "»");
        CheckText(*field, value, "поле ");
    }
    for (const auto& [name, items] : values.lists) {
        const ListSpec* list = FindList(catalogue, name);
        if (!list) Refuse("значения неизвестного списка «" + name + "»");
        for (std::size_t i = 0; i < items.size(); ++i)
            for (const auto& [itemName, value] : items[i]) {
                const std::string where = "список «" + name + "», элемент " + std::to_string(i + 1) + ", поле ";
                const FieldSpec* field = FindField(list->items, itemName);
                if (!field) Refuse(where + "«" + itemName + "» неизвестно");
                CheckText(*field, value, where);
            }
    }
    for (const auto& [name, picture] : values.pictures) {
        const FieldSpec* field = FindField(catalogue.fields, name);
        if (!field || field->kind != FieldKind::Image) Refuse("изображение неизвестного поля «" + name + "»");
        if (picture.png.empty()) continue;
        if (!IsPng(picture.png)) Refuse("изображение «" + name + "» — не PNG");
        if (!IsPageLength(picture.widthMm) || !IsPageLength(picture.heightMm))
            Refuse("изображение «" + name + "»: размер на странице должен быть больше 0 и не больше 1000 мм");
    }
}

std::string DocumentDate(const std::string& isoDate)
{
    if (isoDate.empty()) return isoDate;
    if (isoDate.size() != 10 || isoDate[4] != '-' || isoDate[7] != '-' || !IsDigits(isoDate, 0, 4) ||
        !IsDigits(isoDate, 5, 2) || !IsDigits(isoDate, 8, 2))
        Refuse("дата «" + isoDate + "» не в виде ГГГГ-ММ-ДД");
    const int year = Number(isoDate, 0, 4), month = Number(isoDate, 5, 2), day = Number(isoDate, 8, 2);
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year == 0 || month < 1 || month > 12 || day < 1 || day > days[month - 1] + (month == 2 && leap))
        Refuse("дата «" + isoDate + "» не существует");
    return isoDate.substr(8, 2) + "." + isoDate.substr(5, 2) + "." + isoDate.substr(0, 4);
}

}  // namespace kestal
