// Reading and writing zip packages in memory with libzip.
#include "documents/ZipPackage.h"

#include <zip.h>

#include <memory>
#include <utility>

#include "common/KestalError.h"

namespace kestal {

namespace {

constexpr zip_int64_t MaxEntries = 10'000;
constexpr zip_uint64_t MaxEntryBytes = 256ULL * 1024 * 1024;
constexpr zip_uint64_t MaxPackageBytes = 512ULL * 1024 * 1024;  // all entries unpacked

[[noreturn]] void Refuse(const std::string& problem) { throw KestalError(problem); }

using Archive = std::unique_ptr<zip_t, decltype(&zip_discard)>;
using Source = std::unique_ptr<zip_source_t, decltype(&zip_source_free)>;

std::string ReadEntry(zip_t* zip, zip_uint64_t index, const std::string& name)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(zip, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        Refuse("часть " + name + " не читается: " + zip_strerror(zip));
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        Refuse("часть " + name + " зашифрована");
    if (stat.size > MaxEntryBytes) Refuse("часть " + name + " больше 256 МБ");
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(zip_fopen_index(zip, index, 0), &zip_fclose);
    if (!file) Refuse("часть " + name + " не распаковывается: " + zip_strerror(zip));
    std::string bytes(stat.size, '\0');
    zip_uint64_t done = 0;
    while (done < stat.size) {
        const zip_int64_t read = zip_fread(file.get(), bytes.data() + done, stat.size - done);
        if (read < 0) Refuse("часть " + name + " не распаковывается: " + zip_file_strerror(file.get()));
        if (read == 0) break;
        done += static_cast<zip_uint64_t>(read);
    }
    if (done != stat.size) Refuse("часть " + name + " короче, чем указано в архиве");
    return bytes;
}

// Everything the source holds once its archive is closed.
std::string SourceBytes(zip_source_t* source)
{
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(source, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) || zip_source_open(source) != 0)
        Refuse("архив документа не собран");
    std::string bytes(stat.size, '\0');
    const zip_int64_t read = zip_source_read(source, bytes.data(), stat.size);
    zip_source_close(source);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) Refuse("архив документа не собран");
    return bytes;
}

}  // namespace

const PackageEntry* FindEntry(const std::vector<PackageEntry>& entries, const std::string& name)
{
    for (const PackageEntry& entry : entries)
        if (entry.name == name) return &entry;
    return nullptr;
}

PackageEntry* FindEntry(std::vector<PackageEntry>& entries, const std::string& name)
{
    return const_cast<PackageEntry*>(FindEntry(std::as_const(entries), name));
}

std::vector<PackageEntry> ReadPackage(const std::string& bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    Source source(zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error), &zip_source_free);
    if (!source) Refuse("архив не читается");
    Archive zip(zip_open_from_source(source.get(), ZIP_RDONLY, &error), &zip_discard);
    if (!zip) {
        const std::string reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        Refuse("это не архив документа (ODT или DOCX): " + reason);
    }
    source.release();  // the archive owns it now
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    if (count > MaxEntries) Refuse("в архиве больше 10 000 частей");
    std::vector<PackageEntry> entries;
    zip_uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(zip.get(), static_cast<zip_uint64_t>(i), 0);
        if (!name) Refuse("часть " + std::to_string(i + 1) + " архива без имени");
        PackageEntry entry{name, {}};
        if (entry.name.empty() || entry.name.back() != '/')
            entry.bytes = ReadEntry(zip.get(), static_cast<zip_uint64_t>(i), entry.name);
        total += entry.bytes.size();
        if (total > MaxPackageBytes) Refuse("в архиве больше 512 МБ");
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string WritePackage(const std::vector<PackageEntry>& entries, bool firstStored)
{
    zip_error_t error;
    zip_error_init(&error);
    Source target(zip_source_buffer_create(nullptr, 0, 0, &error), &zip_source_free);
    if (!target) Refuse("архив документа не собран");
    zip_source_keep(target.get());  // the bytes are read after the archive is closed
    Archive zip(zip_open_from_source(target.get(), ZIP_TRUNCATE, &error), &zip_discard);
    if (!zip) Refuse("архив документа не собран: " + std::string(zip_error_strerror(&error)));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PackageEntry& entry = entries[i];
        const bool folder = !entry.name.empty() && entry.name.back() == '/';
        zip_int64_t index = -1;
        if (folder) {
            index = zip_dir_add(zip.get(), entry.name.c_str(), ZIP_FL_ENC_UTF_8);
        } else {
            zip_source_t* part = zip_source_buffer(zip.get(), entry.bytes.data(), entry.bytes.size(), 0);
            if (part) index = zip_file_add(zip.get(), entry.name.c_str(), part, ZIP_FL_ENC_UTF_8);
            if (part && index < 0) zip_source_free(part);
        }
        const zip_uint64_t at = static_cast<zip_uint64_t>(index);
        if (index < 0 ||
            zip_set_file_compression(zip.get(), at, i == 0 && firstStored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0) != 0 ||
            zip_file_set_dostime(zip.get(), at, 0, (0 << 9) | (1 << 5) | 1, 0) != 0)
            Refuse("часть " + entry.name + " не записана в архив: " + zip_strerror(zip.get()));
    }
    if (zip_close(zip.get()) != 0) Refuse("архив документа не собран: " + std::string(zip_strerror(zip.get())));
    zip.release();
    return SourceBytes(target.get());
}

}  // namespace kestal
