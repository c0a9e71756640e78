// What a document template is filled from: the catalogue of the fields a program knows, and the
// values of one document (plain data; the caller builds both).
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kestal {

// Text is written as it stands; a number arrives formatted in the user's locale and is written as
// it stands too; a date arrives as YYYY-MM-DD and is written DD.MM.YYYY; an image is a picture.
enum class FieldKind { Text, Number, Date, Image };

struct FieldSpec {
    std::string name;
    FieldKind kind = FieldKind::Text;
};

// A list repeats a table row once per item; an item holds text, numbers and dates.
struct ListSpec {
    std::string name;
    std::vector<FieldSpec> items;
};

// Every name a template may use, fields and lists alike, is unique in its catalogue; a list's
// item fields are unique within the list and may reuse a top-level name (the item's value wins
// inside the repeated row).
struct FieldCatalogue {
    std::vector<FieldSpec> fields;
    std::vector<ListSpec> lists;
};

// A PNG picture and the size it takes on the page.
struct Picture {
    std::string png;
    double widthMm = 0;
    double heightMm = 0;
};

using Record = std::map<std::string, std::string>;

// One document's values by name. A field, list or image without a value is empty.
struct FieldValues {
    std::map<std::string, std::string> text;  // text, number and date fields
    std::map<std::string, std::vector<Record>> lists;
    std::map<std::string, Picture> pictures;
};

// The catalogue's lookups: the field of that name, at the top level or among a list's items.
const FieldSpec* FindField(const std::vector<FieldSpec>& fields, const std::string& name);
const ListSpec* FindList(const FieldCatalogue& catalogue, const std::string& name);

// Throws KestalError naming the first name used twice, or an image among a list's items.
void CheckCatalogue(const FieldCatalogue& catalogue);
// Throws KestalError naming the first value the catalogue does not have or that does not read as
// its kind: an unknown name, a date not YYYY-MM-DD, a picture that is not a PNG or has no size.
void CheckValues(const FieldCatalogue& catalogue, const FieldValues& values);

// "2026-03-15" → "15.03.2026"; an empty text stays empty. Throws KestalError for anything else.
std::string DocumentDate(const std::string& isoDate);

}  // namespace kestal
