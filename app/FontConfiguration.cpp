#include "app/FontConfiguration.h"

#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>

namespace {

// Linux puts a new thread on its parent's processor, where it waits until the parent's time
// slice ends (2-3 ms here, with the second processor idle). Kept off the main thread's
// processor, it starts at once.
void KeepOffThisProcessor(std::thread& thread) {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int current = sched_getcpu();
    if (current < 0 || sched_getaffinity(0, sizeof allowed, &allowed) != 0) return;
    CPU_CLR(current, &allowed);
    if (CPU_COUNT(&allowed) > 0)
        pthread_setaffinity_np(thread.native_handle(), sizeof allowed, &allowed);
}

}  // namespace

// Qt's font database calls FcInit() itself when the first text is laid out; called here first,
// that later call finds the configuration loaded and returns at once.
FontConfigurationLoader::FontConfigurationLoader() : thread_([] { FcInit(); }) {
    KeepOffThisProcessor(thread_);
}

FontConfigurationLoader::~FontConfigurationLoader() {
    wait();
}

void FontConfigurationLoader::wait() {
    if (thread_.joinable()) thread_.join();
}
