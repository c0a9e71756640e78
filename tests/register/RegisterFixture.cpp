// The register tests' fixture and the tests' own PostgreSQL server, started once for the program.
#include "RegisterFixture.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "support/TemporaryPostgres.h"

namespace {

// The server lives from the first test that needs it to the end of the program, when the environment
// is torn down, whatever the tests' results.
class ServerEnvironment : public ::testing::Environment {
public:
    TemporaryPostgres& Server()
    {
        if (!server) server = std::make_unique<TemporaryPostgres>(false);
        return *server;
    }
    void TearDown() override { server.reset(); }

private:
    std::unique_ptr<TemporaryPostgres> server;
};

ServerEnvironment* const environment =
    static_cast<ServerEnvironment*>(::testing::AddGlobalTestEnvironment(new ServerEnvironment));

}  // namespace

void RegisterTest::TearDown()
{
    std::error_code ignored;
    for (const std::string& folder : folders) std::filesystem::remove_all(folder, ignored);
}

std::string RegisterTest::NewLocation()
{
    if (GetParam() == Engine::Postgres) return environment->Server().NewDatabase();
    char name[] = "/tmp/kestal-register-XXXXXX";
    if (!mkdtemp(name)) throw std::runtime_error("no temporary folder");
    folders.emplace_back(name);
    return folders.back() + "/реестр.kestaldb";
}

std::string EngineName(const ::testing::TestParamInfo<Engine>& engine)
{
    return engine.param == Engine::Sqlite ? "SQLite" : "PostgreSQL";
}

// Every test of the fixture runs on both engines; none is skipped.
INSTANTIATE_TEST_SUITE_P(Engines, RegisterTest, ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

VersionToSave Version(std::int64_t workplace, int basedOn, const std::string& project, const std::string& change,
                      const std::string& number)
{
    return {workplace,
            basedOn,
            project,
            {"Цех № 1", number, "Слесарь-ремонтник", "2025-02-28", 0.0023, 3, "средний", 1},
            change};
}

std::string SourceFile(const std::string& relativePath)
{
    std::ifstream file(std::string(KESTAL_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}
