// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

// The file layer's system calls themselves, for programs linked with --wrap for each
// (-Wl,--wrap=pread ...): their own __wrap_ hooks pass calls on to these.
extern "C" {
ssize_t __real_pread(int fd, void* buffer, size_t length, off_t offset);
ssize_t __real_pwrite(int fd, const void* data, size_t length, off_t offset);
int __real_fsync(int fd);
int __real_ftruncate(int fd, off_t length);
}
