// The register tests' fixture: each test runs on both engines, with fresh registers (an SQLite file in a
// temporary folder, or a new database on the tests' own PostgreSQL server), a clock the test sets, and
// a connection of its own for what the program never does (tampering, planted rows).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "register/Connection.h"
#include "register/Register.h"

using namespace kestal;

enum class Engine { Sqlite, Postgres };

// The time of every stamp: set by the test, 2025-03-01 12:00:00 UTC at first.
struct StampClock final : Clock {
    int32_t UtcMillisecondOfDay() const override { return static_cast<int32_t>(milliseconds % 86'400'000); }
    double MonotonicSeconds() const override { return 0; }
    int64_t UtcMillisecondsSinceEpoch() const override { return milliseconds; }
    std::int64_t milliseconds = 1'740'830'400'000;
};

class RegisterTest : public ::testing::TestWithParam<Engine> {
protected:
    void TearDown() override;
    // A location where no register is yet.
    std::string NewLocation();
    Register Create(const std::string& location) { return CreateRegister(location, options); }
    Register Open(const std::string& location) { return OpenRegister(location, options); }

    StampClock clock;
    RegisterOptions options{&clock, {}};

private:
    std::vector<std::string> folders;
};

std::string EngineName(const ::testing::TestParamInfo<Engine>& engine);

// A connection to the register at `location` that bypasses the program.
inline Connection RawConnection(const std::string& location)
{
    return Connection(ReadRegisterLocation(location), false);
}

// A version to save with the columns most tests do not look at.
VersionToSave Version(std::int64_t workplace, int basedOn, const std::string& project, const std::string& change,
                      const std::string& number = "017");

// The bytes of a file of the source tree.
std::string SourceFile(const std::string& relativePath);

inline const Saver Ivanov{"ivanov", "Иванов И. И.", "Kestal 2.0"};
inline const Saver Petrova{"petrova", "Петрова А. С.", "Kestal 2.0"};
