#include "model/DefaultCadrels.h"

#include "i18n/StringTable.h"
#include "model/NewId.h"

#include <knownfolders.h>

#include <array>

namespace cadrels {
namespace {

struct DefaultCandidate {
    const GUID* folder;
    TextId title;
};

const std::array<DefaultCandidate, 3> DefaultCandidates = {{
    {&FOLDERID_Desktop, TextId::Desktop},
    {&FOLDERID_Downloads, TextId::Downloads},
    {&FOLDERID_Documents, TextId::Documents},
}};

constexpr std::array<double, 3> DefaultColumnsX = {0.04, 0.36, 0.68};
constexpr double DefaultTop = 0.06;
constexpr double DefaultWidth = 0.28;
constexpr double DefaultHeight = 0.52;

void AddCadrel(Workspace& page, const std::string& displayKey, CadrelRecord record, const CadrelGeom& geometry)
{
    page.layouts[displayKey][record.id] = geometry;
    page.cadrels.push_back(std::move(record));
}

CadrelRecord RecordWithOneTab(std::string id, std::wstring title, std::wstring folder)
{
    CadrelRecord record;
    record.id = std::move(id);
    CadrelTab tab;
    tab.title = std::move(title);
    tab.folder = std::move(folder);
    record.tabs.push_back(std::move(tab));
    return record;
}

}  // namespace

int CreateDefaultCadrels(Workspace& page, const std::vector<MonitorInfo>& monitors, const std::string& displayKey,
                         const FolderResolver& resolve)
{
    const MonitorInfo* primary = PrimaryMonitor(monitors);
    int made = 0;
    for (const DefaultCandidate& candidate : DefaultCandidates) {
        std::wstring folder = resolve(*candidate.folder);
        if (folder.empty()) {
            continue;
        }
        CadrelGeom geometry;
        geometry.monitor = primary != nullptr ? primary->id : std::string();
        geometry.x = DefaultColumnsX[static_cast<size_t>(made)];
        geometry.y = DefaultTop;
        geometry.w = DefaultWidth;
        geometry.h = DefaultHeight;
        AddCadrel(page, displayKey, RecordWithOneTab(NewId(), Tr(candidate.title), std::move(folder)), geometry);
        ++made;
    }
    return made;
}

std::string AddEmptyCadrel(Workspace& page, const std::string& displayKey, const CadrelGeom& geometry,
                           const ContainerRoots& roots, const FolderResolver& resolve)
{
    std::string id = NewId();
    const std::wstring title = Tr(TextId::EmptyCadrel);
    std::wstring folder = CreateContainer(title, id, roots);
    if (folder.empty()) {
        folder = resolve(FOLDERID_Desktop);
    }
    AddCadrel(page, displayKey, RecordWithOneTab(id, title, std::move(folder)), geometry);
    return id;
}

}  // namespace cadrels
