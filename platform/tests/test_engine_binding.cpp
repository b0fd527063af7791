// The main program's binding to the engine: loaded by name beside the
// program at the first call, and a clear "not called" when it is missing.
#include <gtest/gtest.h>

#include "engine.h"

TEST(EngineBinding, PresenceTestAndCalls)
{
    bool ok = false;
    EXPECT_EQ(zk::engine::callback(nullptr, &ok), 1);
    EXPECT_TRUE(ok) << zk::engine::lastError();
    EXPECT_EQ(zk::engine::translate(nullptr, &ok), 0);
    EXPECT_TRUE(ok);
}

TEST(EngineBinding, MissingLibrary)
{
    zk::engine::setLibraryName("libzelkor32-missing.so");
    bool ok = true;
    EXPECT_EQ(zk::engine::callback(nullptr, &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(zk::engine::lastError().empty());
    zk::engine::setLibraryName("libzelkor32.so");
    EXPECT_EQ(zk::engine::callback(nullptr, &ok), 1);
    EXPECT_TRUE(ok);
}
