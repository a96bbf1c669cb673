// Precompiled header of the test programs: the Qt headers and GoogleTest.
#pragma once
#ifdef __cplusplus
#include "OrmelPch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#endif
