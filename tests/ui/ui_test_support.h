// Helpers for the GUI tests: a scratch folder per test, waiting on the event loop, a sound file.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "support/scratch_dir.h"

namespace plovane::testing {

// Runs the event loop until the condition holds or the time runs out; returns the condition.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// A short silent PCM file: 8 kHz, 8 bits, mono, 8 samples.
inline void WriteSilentWav(const std::string& path) {
    std::ofstream file(path, std::ios::binary);
    const char header[] =
        "RIFF\x2C\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00\x40\x1F\x00\x00"
        "\x40\x1F\x00\x00\x01\x00\x08\x00"
        "data\x08\x00\x00\x00";
    file.write(header, sizeof header - 1);
    file.write("\x80\x80\x80\x80\x80\x80\x80\x80", 8);
}

}  // namespace plovane::testing
