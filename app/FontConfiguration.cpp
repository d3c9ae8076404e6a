#include "app/FontConfiguration.h"

#include <fontconfig/fontconfig.h>

// Qt's font database calls FcInit() itself when the first text is laid out; called here first,
// that later call finds the configuration loaded and returns at once.
FontConfigurationLoader::FontConfigurationLoader() : thread_([] { FcInit(); }) {}

FontConfigurationLoader::~FontConfigurationLoader() {
    wait();
}

void FontConfigurationLoader::wait() {
    if (thread_.joinable()) thread_.join();
}
