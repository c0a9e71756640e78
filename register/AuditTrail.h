// The audit trail: one entry per saved version, only ever appended, each carrying the SHA-256 of the
// entry before it; each version's digest bound into its entry; and the check of both.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <string>

#include "register/Register.h"

namespace kestal {

class Connection;

// What the first entry names as the one before it.
inline const std::string AuditGenesisHash(64, '0');

// The SHA-256 of `bytes` in lower-case hexadecimal.
std::string Sha256Hex(const QByteArray& bytes);

// The SHA-256 of a stored version: over the canonical text of its columns, stamp, change and the
// SHA-256 of its project.
std::string VersionDigest(const VersionInfo& version, const std::string& projectSha256);

struct AuditEntry {
    std::int64_t entry = 0;  // 1, 2, 3, ...
    std::string savedAt;
    Saver savedBy;
    std::int64_t workplace = 0;
    int version = 0;
    std::string change;
    std::string versionSha256;
    std::string previousSha256;
    std::string sha256;
};

// The SHA-256 of an entry: over the canonical text of every field but `sha256`. The canonical text is
// a line per field in a fixed order, "name=<bytes>:<value>" (its length in bytes, then the value).
std::string AuditEntryHash(const AuditEntry& entry);

// The trail's end as the register's head records it.
struct AuditHead {
    std::int64_t entries = 0;
    std::string sha256 = AuditGenesisHash;
};

// In a transaction: writes the head first, which makes every other writer wait until this one ends,
// and reads it. Raises KestalError(reason).
AuditHead LockAuditHead(Connection& connection);

// In the transaction that locked the head: appends the entry of a saved version and advances the head.
void AppendAuditEntry(Connection& connection, AuditHead& head, const VersionInfo& version,
                      const std::string& versionSha256);

// In the same transaction, after the last entry: records the head.
void StoreAuditHead(Connection& connection, const AuditHead& head);

// Every entry's hash and link recomputed, and every version's digest compared with its entry.
AuditCheck CheckAuditTrail(Connection& connection);

}  // namespace kestal
