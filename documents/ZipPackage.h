// A document package's entries read from and written to zip bytes, through libzip.
#pragma once

#include <string>
#include <vector>

namespace kestal {

struct PackageEntry {
    std::string name;  // a folder's name ends with "/"
    std::string bytes;
};

// The entry of that name, or null.
const PackageEntry* FindEntry(const std::vector<PackageEntry>& entries, const std::string& name);
PackageEntry* FindEntry(std::vector<PackageEntry>& entries, const std::string& name);

// Every entry, in the archive's order. Throws KestalError for what is no zip archive, an
// encrypted entry, more than 10 000 entries, an entry beyond 256 MB or all beyond 512 MB unpacked.
std::vector<PackageEntry> ReadPackage(const std::string& bytes);

// The archive of the entries in their order: the first stored as it is when `firstStored` (an
// ODF package's "mimetype"), the others compressed; every entry dated 1980-01-01, so that the
// same entries give the same bytes.
std::string WritePackage(const std::vector<PackageEntry>& entries, bool firstStored);

}  // namespace kestal
