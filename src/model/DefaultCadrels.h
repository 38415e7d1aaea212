// The cadrels a start creates by itself: the three of a first run, and the
// single empty one when a page would otherwise show nothing.
#pragma once

#include "model/ContainerFolders.h"
#include "model/FolderResolver.h"
#include "model/MonitorInfo.h"
#include "model/Records.h"

#include <string>
#include <vector>

namespace cadrels {

// Appends the Desktop, Downloads and Documents cadrels to the page, side by
// side on the primary monitor, with their geometry under `displayKey`. A
// folder that does not resolve is skipped without leaving a gap. Returns how
// many were made.
int CreateDefaultCadrels(Workspace& page, const std::vector<MonitorInfo>& monitors, const std::string& displayKey,
                         const FolderResolver& resolve = ResolveKnownFolder);

// Appends one cadrel whose single tab, titled "Cadrel vide", shows a new
// container, or the Desktop when no container can be made; `geometry` is
// filed under `displayKey`. Returns the new record's id.
std::string AddEmptyCadrel(Workspace& page, const std::string& displayKey, const CadrelGeom& geometry,
                           const ContainerRoots& roots = ProcessContainerRoots(),
                           const FolderResolver& resolve = ResolveKnownFolder);

}  // namespace cadrels
