// A private container root and former root under the temporary folder, so
// tests can build any tree without touching the user's real folders.
#pragma once

#include "TestFiles.h"

#include "fileops/FileMoves.h"
#include "model/ContainerFolders.h"
#include "model/FolderMover.h"

#include <gtest/gtest.h>

namespace cadrels::testing {

class ContainerTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        base_ = MakeTempFolder(L"containers");
        ASSERT_FALSE(base_.empty());
        roots_.root = base_ + L"\\profile\\Cadrels";
        roots_.legacy = base_ + L"\\appdata\\Cadrels\\containers";
        ASSERT_EQ(SHCreateDirectoryExW(nullptr, roots_.root.c_str(), nullptr), ERROR_SUCCESS);
        ASSERT_EQ(SHCreateDirectoryExW(nullptr, roots_.legacy.c_str(), nullptr), ERROR_SUCCESS);
        // As the program does at start-up: container folders move through
        // the move engine.
        SetFolderMover(MoveFolderThroughEngine);
    }
    void TearDown() override
    {
        SetFolderMover({});
        RemoveTree(base_);
    }

    // A folder (with its parents), optionally holding the marker.
    std::wstring Folder(const std::wstring& path, bool marker = false) const
    {
        EXPECT_EQ(SHCreateDirectoryExW(nullptr, path.c_str(), nullptr), ERROR_SUCCESS) << path;
        if (marker) {
            EXPECT_TRUE(WriteBytes(path + L"\\.cadrel-container", ""));
        }
        return path;
    }
    std::wstring Container(const std::wstring& name) const { return Folder(roots_.root + L"\\" + name, true); }
    static bool Marked(const std::wstring& folder) { return FileExists(folder + L"\\.cadrel-container"); }

    std::wstring base_;
    ContainerRoots roots_;
};

}  // namespace cadrels::testing
