// A GoogleTest fixture for the radio computations: a new document over the
// radio test map, a fixed screen size, and the real link model (a test that
// replaces the model gets it back afterwards).
#pragma once

#include <gtest/gtest.h>

#include <QSize>

#include "base/screen.h"
#include "radio/linkbudget.h"
#include "radio/radiodata.h"
#include "radioenv.h"

namespace radiotest {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zk::setScreenPixels(QSize(1024, 768));
        zk::newnet(false);
        setTestMap();
        zk::setLinkModelForTest({});
    }
    void TearDown() override
    {
        zk::setLinkModelForTest({});
        zk::setScreenPixels(QSize());
    }
};

}  // namespace radiotest
