// While one of these lives, the process can open no new file descriptor
// (its descriptor limit is 0), so whatever is made meanwhile meets the
// failure a process out of descriptors meets.
#pragma once

#include <sys/resource.h>

namespace cadenzo::test {

class NoNewDescriptors {
public:
    NoNewDescriptors() {
        ::getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit none = saved_;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_NOFILE, &none);
    }
    ~NoNewDescriptors() { ::setrlimit(RLIMIT_NOFILE, &saved_); }
    NoNewDescriptors(const NoNewDescriptors&) = delete;
    NoNewDescriptors& operator=(const NoNewDescriptors&) = delete;

private:
    rlimit saved_{};
};

}  // namespace cadenzo::test
