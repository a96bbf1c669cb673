#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Runs `work` on this thread without the capabilities that let root read any file, so
// that a file's mode refuses root as it refuses a user.
inline void withoutReadingAnyFile(const std::function<void()>& work) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct held[2]{};
    ASSERT_EQ(syscall(SYS_capget, &header, held), 0);
    __user_cap_data_struct lowered[2] = {held[0], held[1]};
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    ASSERT_EQ(syscall(SYS_capset, &header, lowered), 0);
    work();
    ASSERT_EQ(syscall(SYS_capset, &header, held), 0);
}
