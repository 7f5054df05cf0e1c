#include "support/AppTestSupport.h"

#include <gtest/gtest.h>

TEST(DocumentFramework, Placeholder) {}
