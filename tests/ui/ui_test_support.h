// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for the GUI tests: waiting on the event loop, modal windows, list columns, a WAV.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStringList>
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

// Calls `open`, which may show a modal window; a modal window of class Window is handed to
// `act`, which closes it. Any modal window still up after ten seconds is rejected, so a test
// cannot hang. True when `act` ran.
template <typename Window>
bool WithModal(const std::function<void()>& open, const std::function<void(Window&)>& act) {
    bool seen = false;
    QTimer poll, guard;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget())) {
            poll.stop();
            seen = true;
            act(*window);
        }
    });
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            modal->reject();
    });
    poll.start(10);
    guard.start(10000);
    open();
    return seen;
}

// The texts of one column of a list window, top to bottom.
template <typename Window>
QStringList Column(const Window& window, int column) {
    QStringList out;
    for (int row = 0; row < window.model().rowCount({}); ++row)
        out << window.model().data(window.model().index(row, column), Qt::DisplayRole).toString();
    return out;
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
