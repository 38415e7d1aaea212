// The records' JSON form, used by the layout file, snapshots and backups. The
// members' order and the plain values' rules come from the settings schema;
// lists, maps, pages, tabs and rules are read and written here.
#pragma once

#include "model/JsonValue.h"
#include "model/Records.h"

namespace cadrels {

// The document object: members in the layout file's order.
JsonValue SettingsToJson(const Settings& settings);

// Reads a document's root object into a freshly defaulted Settings: every
// member by its read rule, the older single-page form, at least one page,
// activeWorkspace clamped, version 2. `pagesFound` tells whether the document
// itself held a page. False when the root is not an object.
bool SettingsFromJson(const JsonValue& root, Settings& out, bool& pagesFound);

}  // namespace cadrels
