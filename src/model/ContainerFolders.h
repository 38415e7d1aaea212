// Container folders: the folders the program makes for a cadrel's tab and
// considers its own. A folder is one only when it lies strictly inside a
// container root and holds the marker file; nothing here renames or deletes
// any other folder.
#pragma once

#include <string>
#include <vector>

namespace cadrels {

inline constexpr wchar_t ContainerMarkerName[] = L".cadrel-container";

struct ContainerRoots {
    std::wstring root;    // the user's profile + "\Cadrels": where containers are made
    std::wstring legacy;  // the application-data folder + "\containers": only read, to move them out
};

// The process's roots, resolved once (a failed resolution is tried again on
// the next call); a root that cannot be resolved is empty. Not created here.
const ContainerRoots& ProcessContainerRoots();
std::wstring ContainerRoot();
std::wstring LegacyContainerRoot();

// Longer than the root by at least two characters, starting with it (ASCII
// case ignored) and followed by \ or /; and naming a real child: no ".", ".."
// or dots-and-spaces component and no character a name cannot hold.
bool IsStrictlyInside(const std::wstring& path, const std::wstring& root);
bool IsInsideContainerRoot(const std::wstring& path, const ContainerRoots& roots = ProcessContainerRoots());
// A file (not a directory) named ".cadrel-container" directly in the folder.
bool HasContainerMarker(const std::wstring& folder);
bool IsContainer(const std::wstring& path, const ContainerRoots& roots = ProcessContainerRoots());

// Creates or truncates the marker (hidden, system); errors are ignored.
void WriteContainerMarker(const std::wstring& folder);

// The folder name for a tab title; never empty.
std::wstring ContainerFolderName(const std::wstring& title, const std::string& cadrelId);

// parent\name, else "name (2)" .. "name (999)", else "name_{GUID}": the first
// that does not exist and is not in `reserved` (ASCII case ignored).
std::wstring UniqueContainerPath(const std::wstring& parent, const std::wstring& name,
                                 const std::vector<std::wstring>& reserved);

// A new container for a tab, or empty on failure.
std::wstring CreateContainer(const std::wstring& title, const std::string& cadrelId,
                             const ContainerRoots& roots = ProcessContainerRoots());

// Re-creates a tab's missing container. A folder inside a root that exists
// without the marker is left as it is. True when the folder exists afterwards.
bool EnsureContainer(const std::wstring& path, const ContainerRoots& roots = ProcessContainerRoots());

// The tab's folder after its title changed: the renamed container, or the path
// unchanged (not a container, same name ignoring case, or the rename failed).
std::wstring RenameContainerForTitle(const std::wstring& path, const std::wstring& newTitle,
                                     const std::string& cadrelId,
                                     const ContainerRoots& roots = ProcessContainerRoots());

// Deletes a container that holds nothing but its marker; true when it is gone.
bool RemoveEmptyContainer(const std::wstring& path, const ContainerRoots& roots = ProcessContainerRoots());

}  // namespace cadrels
