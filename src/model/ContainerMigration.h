// The start-up steps that bring older arrangements up to date: marking the
// folders made before markers existed, and moving containers out of their
// former place in the application-data folder.
#pragma once

#include "model/ContainerFolders.h"
#include "model/Records.h"

#include <functional>
#include <string>

namespace cadrels {

// Once per installation: every tab folder inside a root that exists without
// the marker receives one; then `containersClaimed` is set. True when it ran
// (the caller then saves the layout file).
bool ClaimContainers(Settings& settings, const ContainerRoots& roots = ProcessContainerRoots());

struct MigrationContext {
    ContainerRoots roots;
    // Where the safety snapshot is written (created when missing).
    std::wstring snapshotsFolder;
    // Persists the settings after each moved container.
    std::function<bool(const Settings&)> save;
    // Receives each diagnostic line.
    std::function<void(const std::wstring&)> log;
};

// The process's roots, snapshots folder, layout file and diagnostic log.
MigrationContext ProcessMigrationContext();

// Moves the containers that tabs still find in the former folder into the
// container root, after a safety snapshot; nothing moves when that snapshot
// cannot be written. True when at least one folder was moved.
bool MigrateContainers(Settings& settings);
bool MigrateContainers(Settings& settings, const MigrationContext& context);

}  // namespace cadrels
