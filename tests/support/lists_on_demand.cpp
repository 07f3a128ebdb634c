// The windows' suites run a second time (TESS_TEST_ON_DEMAND set) with every list the program
// opens read on demand, as the lists of a large database are: the program's connections take a
// read policy that reads any keyset or dynamic list on demand, however few its rows.  Linked into
// those suites only (tests/CMakeLists.txt); they hold the program's connections.
#include "core/Globals.h"

#include <gtest/gtest.h>

namespace {

class ListsOnDemand : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("TESS_TEST_ON_DEMAND"))
            return;
        gConn.SetReadPolicy(db::ReadPolicy{1});
        gConnAlt.SetReadPolicy(db::ReadPolicy{1});
    }
};

// Registered before main runs; gtest sets it up when the tests start, once every global exists.
[[maybe_unused]] ::testing::Environment* const kListsOnDemand = ::testing::AddGlobalTestEnvironment(new ListsOnDemand);

}  // namespace
