#pragma once

#include <thread>

// Loads the system's font configuration (fontconfig's files and font list) on a thread of its
// own while the application object is built. The first window with text would otherwise wait
// for it: 4-5 ms, a sixth of the program's start. Made before the QApplication, waited for
// before the first window; fontconfig may be called from any thread.
class FontConfigurationLoader {
  public:
    FontConfigurationLoader();
    ~FontConfigurationLoader();
    FontConfigurationLoader(const FontConfigurationLoader&) = delete;
    FontConfigurationLoader& operator=(const FontConfigurationLoader&) = delete;

    // Returns once the configuration is loaded; Qt's font database then finds it ready.
    void wait();

  private:
    std::thread thread_;
};
