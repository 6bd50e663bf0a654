// Opening and closing the document's map.
#include "ui/logic/plovane_doc.h"

#include <fstream>

namespace plovane {

bool CPlovaneDoc::Open(const std::string& path, AppHost& host) {
    map_.Clear();
    path_.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        host.MessageBox("Unable to open map file \"" + path + "\".", MessageBoxIcon::kExclamation);
        return false;
    }
    if (!map_.Load(file, path, host))
        return false;
    path_ = path;
    return true;
}

void CPlovaneDoc::Close() {
    map_.Clear();
    path_.clear();
}

std::string CPlovaneDoc::Title() const {
    if (!map_.loaded)
        return "Untitled";
    return map_.name.empty() ? path_ : map_.name;
}

}  // namespace plovane
