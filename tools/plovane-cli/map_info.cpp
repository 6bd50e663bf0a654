// plovane-cli map-info FILE: runs the map recogniser and reader on a file and prints what
// they found as one JSON object, or the reader's error text on stderr.
#include <fstream>
#include <ostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cli.h"
#include "core/app_host.h"
#include "core/clock.h"
#include "core/geo.h"
#include "maps/map_data.h"
#include "maps/map_reader.h"

namespace plovane::cli {
namespace {

// Keeps the last message box text; everything else the reader tells the host is dropped.
class MessageCaptureHost final : public AppHost {
  public:
    const std::string& message() const { return message_; }

    void Post(ThreadMessage, std::string) override {}
    void ShowNotice(std::string_view) override {}
    MessageBoxResult MessageBox(std::string_view text, MessageBoxIcon, MessageBoxButtons,
                                std::string_view) override {
        message_ = std::string(text);
        return MessageBoxResult::kOk;
    }
    void StationChanged(const std::string&) override {}
    void MessageChanged(uint64_t) override {}
    void ShowProgress(std::string_view) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
    void PlaySound(const std::string&) override {}

  private:
    std::string message_;
};

// Map texts are file bytes: each byte becomes the code point of the same value.
std::string BytesAsUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

nlohmann::ordered_json DateJson(const CDateTime& date) {
    const std::string text = date.ToIso8601();
    return text.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(text);
}

}  // namespace

int MapInfo(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "usage: plovane-cli map-info FILE\n";
        return 2;
    }
    const std::string& path = args.front();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        err << "plovane-cli: cannot open " << path << '\n';
        return 1;
    }
    const MapProbe probe = ProbeMapFile(file, path);
    file.clear();

    SystemClock clock;
    MessageCaptureHost host;
    CMapData map(clock);
    if (!map.Load(file, path, host)) {
        err << host.message() << '\n';
        return 1;
    }

    nlohmann::ordered_json box;
    box["left"] = map.left;
    box["right"] = map.right;
    box["top"] = map.top;
    box["bottom"] = map.bottom;
    box["west"] = LongitudeDegrees(map.left);
    box["east"] = LongitudeDegrees(map.right);
    box["north"] = LatitudeDegrees(map.top);
    box["south"] = LatitudeDegrees(map.bottom);

    nlohmann::ordered_json info;
    info["isMap"] = probe.isMap;
    info["title"] = BytesAsUtf8(probe.title);
    info["format"] = BytesAsUtf8(map.formatText);
    info["version"] = BytesAsUtf8(map.versionText);
    info["name"] = BytesAsUtf8(map.name);
    info["header"] = BytesAsUtf8(map.headerText);
    info["created"] = DateJson(map.created);
    info["modified"] = DateJson(map.modified);
    info["box"] = box;
    info["points"] = map.points.size();
    info["labels"] = map.labels.size();
    out << info.dump() << '\n';
    return 0;
}

}  // namespace plovane::cli
