#include "UndoProperty.h"

#include "TestFiles.h"
#include "base/UniqueHandle.h"
#include "fileops/FileMoves.h"
#include "fileops/UndoManager.h"
#include "model/PathText.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <thread>

namespace cadrels::testing {
namespace {

constexpr int FolderCount = 4;
// Every step reads every file back; a bounded population keeps a long run
// linear instead of quadratic.
constexpr size_t MaxFiles = 24;
// At most this many files written into a folder while it moves.
constexpr int WriterFiles = 4;
// Few names, so that moves collide all the time.
const wchar_t* const Names[] = {L"a.txt", L"b.txt", L"c", L"d.doc", L"a (2).txt"};

std::wstring Key(const std::wstring& path)
{
    std::wstring key = path;
    for (wchar_t& c : key) {
        c = AsciiLower(c);
    }
    return key;
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        out.push_back(c < 128 ? static_cast<char>(c) : '?');
    }
    return out;
}

class Property {
public:
    Property(std::uint32_t seed, MoveEngineFactory engines)
        : random_(seed), engines_(std::move(engines)), manager_(operation_, engines_)
    {
        root_ = MakeTempFolder(L"undo-property");
        // The second half of the folders on the test drive, so that moves
        // between them cross volumes.
        if (GetDriveTypeW(L"D:\\") == DRIVE_FIXED) {
            otherRoot_ = L"D:\\undo-property-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                         std::to_wstring(seed) + L"-" + std::to_wstring(GetTickCount64());
            result_.twoVolumes = CreateDirectoryW(otherRoot_.c_str(), nullptr) != FALSE;
        }
        for (int i = 0; i < FolderCount; ++i) {
            const std::wstring& base = result_.twoVolumes && i >= FolderCount / 2 ? otherRoot_ : root_;
            folders_.push_back(base + L"\\f" + std::to_wstring(i));
            CreateDirectoryW(folders_.back().c_str(), nullptr);
        }
    }
    ~Property()
    {
        RemoveTree(root_);
        if (result_.twoVolumes) {
            RemoveTree(otherRoot_);
        }
    }

    UndoPropertyResult Run(int steps)
    {
        shellEngine_ = std::wstring(engines_(MoveOptions{true, false})->Name()) == L"IFileOperation";
        for (int i = 0; i < FolderCount * 3; ++i) {
            NewFile(folders_[Pick(FolderCount)]);
        }
        for (result_.stepsRun = 0; result_.stepsRun < steps && result_.failure.empty(); ++result_.stepsRun) {
            Step();
            if (result_.failure.empty()) {
                CheckDisk();
            }
        }
        return result_;
    }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    void Fail(const std::string& what)
    {
        if (result_.failure.empty()) {
            std::ostringstream text;
            text << "step " << result_.stepsRun << ": " << what;
            result_.failure = text.str();
        }
    }

    void NewFile(const std::wstring& folder)
    {
        const std::wstring path = folder + L"\\" + Names[Pick(std::size(Names))];
        if (model_.count(Key(path)) == 0 && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            const std::string content = "content " + std::to_string(nextContent_++);
            WriteBytes(path, content);
            model_[Key(path)] = content;
        }
    }

    // Moves the model's content along pairs that the program says happened;
    // CheckDisk then proves them true.
    void Apply(const std::vector<MovePair>& moves, bool forward)
    {
        auto& folders = subfolders_;
        for (const MovePair& move : moves) {
            const std::wstring from = Key(forward ? move.from : move.to);
            const std::wstring to = Key(forward ? move.to : move.from);
            if (folders.count(from) != 0) {
                MoveFolderInModel(from, to);
                continue;
            }
            const auto found = model_.find(from);
            if (found == model_.end()) {
                Fail("moved a file that was not there: " + Narrow(from));
                return;
            }
            if (model_.count(to) != 0) {
                Fail("moved onto an existing file: " + Narrow(to));
                return;
            }
            const std::string content = found->second;
            model_.erase(found);
            model_[to] = content;
        }
    }

    // A folder's files follow it; a name already taken means the program
    // moved onto something.
    void MoveFolderInModel(const std::wstring& from, const std::wstring& to)
    {
        if (subfolders_.count(to) != 0 || model_.count(to) != 0) {
            Fail("moved a folder onto an existing one: " + Narrow(to));
            return;
        }
        std::map<std::wstring, std::string> inside;
        for (auto it = model_.begin(); it != model_.end();) {
            if (it->first.rfind(from + L"\\", 0) == 0) {
                inside[to + it->first.substr(from.size())] = it->second;
                it = model_.erase(it);
            } else {
                ++it;
            }
        }
        model_.insert(inside.begin(), inside.end());
        subfolders_.erase(from);
        subfolders_.insert(to);
    }

    bool OnOtherVolume(int a, int b) const
    {
        return result_.twoVolumes && (a < FolderCount / 2) != (b < FolderCount / 2);
    }

    static bool IsDirectChild(const std::wstring& key, const std::wstring& folderPrefix)
    {
        return key.rfind(folderPrefix, 0) == 0 && key.find(L'\\', folderPrefix.size()) == std::wstring::npos;
    }

    // A new folder with a few files goes to another folder while a writer
    // (another program saving into it) keeps adding files. Whatever the
    // writer managed to write must be found exactly once afterwards: moved
    // with the folder, or left behind in its old place, never deleted.
    void FolderDropWithWriter()
    {
        const int source = Pick(FolderCount);
        int target = (source + 1 + Pick(FolderCount - 1)) % FolderCount;
        // Wine 10's IFileOperation ends the process when a copy to another
        // volume meets a file the writer holds open (Windows' reports the
        // item as failed); with the shell's engine the folder stays on its
        // volume. Our own engine takes it across.
        if (shellEngine_ && OnOtherVolume(source, target)) {
            target = source ^ 1;
        }
        const std::wstring folder = folders_[source] + L"\\d" + std::to_wstring(nextFolder_++);
        if (!CreateDirectoryW(folder.c_str(), nullptr)) {
            Fail("could not make " + Narrow(folder));
            return;
        }
        subfolders_.insert(Key(folder));
        for (int i = 0, count = 1 + Pick(3); i < count; ++i) {
            const std::wstring path = folder + L"\\" + Names[i];
            const std::string content = "content " + std::to_string(nextContent_++);
            WriteBytes(path, content);
            model_[Key(path)] = content;
        }
        std::atomic<bool> stop{false};
        std::atomic<int> attempts{0};
        std::vector<std::pair<std::wstring, std::string>> written;
        const int firstWriterContent = nextContent_;
        nextContent_ += WriterFiles;
        std::thread writer([&] {
            for (int i = 0; i < WriterFiles && !stop; ++i) {
                const std::wstring name = L"w" + std::to_wstring(i) + L".txt";
                const std::string content = "writer " + std::to_string(firstWriterContent + i);
                const HANDLE file = CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                FILE_ATTRIBUTE_NORMAL, nullptr);
                if (file == INVALID_HANDLE_VALUE) {
                    continue;  // the folder has gone, or is going
                }
                DWORD done = 0;
                const bool wrote = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &done, nullptr) &&
                                   done == content.size();
                if (CloseHandle(file) && wrote) {
                    written.emplace_back(name, content);
                }
                ++attempts;
                Sleep(1);
            }
        });
        // The move starts once the writer is at work, so that it keeps
        // writing while the folder is listed, copied and deleted.
        while (attempts == 0) {
            Sleep(0);
        }
        const MoveReport report = MoveIntoFolder(engines_, {folder}, folders_[target]);
        stop = true;
        writer.join();
        ++result_.folderMoves;
        result_.written += static_cast<int>(written.size());
        if (report.moved.size() > 1) {
            Fail("one folder gave several moves");
            return;
        }
        const std::wstring landed = report.moved.empty() ? std::wstring() : Key(report.moved.front().to);
        std::vector<std::pair<std::wstring, std::string>> behind;
        for (const auto& [name, content] : written) {
            const std::wstring before = Key(folder + L"\\" + name);
            const bool stayed = GetFileAttributesW(before.c_str()) != INVALID_FILE_ATTRIBUTES;
            const bool went =
                !landed.empty() && GetFileAttributesW((landed + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
            if (stayed == went) {
                Fail("a file written into a folder being moved is found " + std::string(stayed ? "twice" : "nowhere") +
                     ": " + Narrow(before));
                return;
            }
            if (stayed) {
                behind.emplace_back(before, content);
            } else {
                model_[before] = content;  // the folder's move below carries it
            }
        }
        if (landed.empty()) {
            for (const auto& [path, content] : behind) {
                model_[path] = content;
            }
            return;
        }
        Apply(report.moved, true);
        // What the writer saved after the copy stays in a folder of the old name.
        if (!behind.empty()) {
            subfolders_.insert(Key(folder));
            for (const auto& [path, content] : behind) {
                model_[path] = content;
            }
        }
        UndoEntry entry;
        entry.description = L"folder drop";
        entry.moves = report.moved;
        manager_.Push(entry);
    }

    void Drop()
    {
        const int source = Pick(FolderCount);
        const int target = (source + 1 + Pick(FolderCount - 1)) % FolderCount;
        std::vector<std::wstring> chosen;
        const std::wstring prefix = Key(folders_[source]) + L"\\";
        for (const auto& [key, content] : model_) {
            if (IsDirectChild(key, prefix) && Pick(2) == 0) {
                chosen.push_back(key);
            }
        }
        // Now and then another program holds one of them open without
        // sharing: that one stays, the others move, and the drop says so.
        std::wstring held;
        UniqueFile holder;
        if (!chosen.empty() && Pick(4) == 0) {
            held = chosen[static_cast<size_t>(Pick(static_cast<int>(chosen.size())))];
            holder = HoldOpen(held);
            if (!holder) {
                Fail("could not hold " + Narrow(held) + " open");
                return;
            }
            ++result_.partial;
        }
        const MoveReport report = MoveIntoFolder(engines_, chosen, folders_[target]);
        holder.Reset();
        const bool heldMoved = std::any_of(report.moved.begin(), report.moved.end(),
                                           [&](const MovePair& move) { return Key(move.from) == held; });
        if (heldMoved) {
            Fail("a file held open without sharing was reported moved: " + Narrow(held));
        }
        if (report.succeeded == !held.empty()) {
            Fail(held.empty() ? "a drop of existing files failed" : "a drop that left a file behind succeeded");
        }
        if (report.moved.size() != chosen.size() - (held.empty() ? 0 : 1)) {
            Fail("a drop moved " + std::to_string(report.moved.size()) + " of " + std::to_string(chosen.size()) +
                 " files" + (held.empty() ? "" : " with one held"));
        }
        Apply(report.moved, true);
        UndoEntry entry;
        entry.description = L"drop";
        entry.moves = report.moved;
        const bool pushed = manager_.History().Push(entry);
        ++result_.moves;
        if (pushed != !report.moved.empty()) {
            Fail("push kept an entry without moves, or dropped one with moves");
        }
        const UndoHistory& history = manager_.History();
        if (pushed && (!history.RedoStack().empty() || history.UndoStack().size() > UndoHistory::MaxUndoEntries ||
                       history.UndoStack().back().moves != report.moved)) {
            Fail("stacks after a new action");
        }
    }

    // Undo or redo; the entry that lands on the other stack must hold a
    // subset of the pairs it had, each of which really happened.
    void Replay(bool redo)
    {
        UndoHistory& history = manager_.History();
        const UndoEntry* next = redo ? history.NextRedo() : history.NextUndo();
        const std::vector<UndoEntry> undoBefore = history.UndoStack();
        const std::vector<UndoEntry> redoBefore = history.RedoStack();
        // A file the replay would take held open by another program: it
        // stays where it is, and the entry that lands names the others only.
        std::wstring held;
        UniqueFile holder;
        if (next != nullptr && !next->moves.empty() && Pick(5) == 0) {
            const MovePair& move = next->moves[static_cast<size_t>(Pick(static_cast<int>(next->moves.size())))];
            const std::wstring& place = redo ? move.from : move.to;
            if (model_.count(Key(place)) != 0) {
                held = Key(place);
                holder = HoldOpen(place);
                if (!holder) {
                    Fail("could not hold " + Narrow(held) + " open");
                    return;
                }
                ++result_.partial;
            }
        }
        const bool ran = redo ? manager_.Redo() : manager_.Undo().has_value();
        holder.Reset();
        if (next == nullptr) {
            ++result_.refused;
            if (ran || history.UndoStack().size() != undoBefore.size() ||
                history.RedoStack().size() != redoBefore.size()) {
                Fail("an undo or redo with nothing to do changed the stacks");
            }
            return;
        }
        if (!ran) {
            Fail("an undo or redo was refused with an entry waiting");
            return;
        }
        redo ? ++result_.redos : ++result_.undos;
        const UndoEntry& taken = redo ? redoBefore.back() : undoBefore.back();
        const std::vector<UndoEntry>& from = redo ? history.RedoStack() : history.UndoStack();
        const std::vector<UndoEntry>& to = redo ? history.UndoStack() : history.RedoStack();
        const size_t fromBefore = redo ? redoBefore.size() : undoBefore.size();
        const size_t toBefore = redo ? undoBefore.size() : redoBefore.size();
        if (from.size() != fromBefore - 1) {
            Fail("the entry did not leave its stack");
            return;
        }
        if (to.size() == toBefore) {
            return;  // nothing could move: the entry is gone, and CheckDisk proves nothing moved
        }
        if (to.size() != toBefore + 1) {
            Fail("the other stack grew by more than one");
            return;
        }
        const UndoEntry& landed = to.back();
        for (const MovePair& move : landed.moves) {
            if (!held.empty() && Key(redo ? move.from : move.to) == held) {
                Fail("a file held open without sharing was replayed: " + Narrow(held));
            }
            const bool known = std::any_of(taken.moves.begin(), taken.moves.end(), [&](const MovePair& old) {
                return redo ? old.from == move.from : old == move;
            });
            if (!known) {
                Fail("a replayed entry names a move it never had: " + Narrow(move.from));
            }
        }
        Apply(landed.moves, redo);
    }

    void Step()
    {
        const int choice = Pick(100);
        if (choice < 30) {
            Drop();
        } else if (choice < 55) {
            Replay(false);
        } else if (choice < 75) {
            Replay(true);
        } else if (choice < 85) {
            // A new file where an undo would put one back.
            const UndoEntry* next = manager_.History().NextUndo();
            if (next != nullptr && model_.size() < MaxFiles) {
                const MovePair& move = next->moves[Pick(static_cast<int>(next->moves.size()))];
                if (model_.count(Key(move.from)) == 0 &&
                    GetFileAttributesW(move.from.c_str()) == INVALID_FILE_ATTRIBUTES) {
                    const std::string content = "content " + std::to_string(nextContent_++);
                    if (WriteBytes(move.from, content)) {
                        model_[Key(move.from)] = content;
                    }
                }
            }
        } else if (choice < 92) {
            if (!model_.empty()) {  // deleted behind the program's back
                auto it = model_.begin();
                std::advance(it, Pick(static_cast<int>(model_.size())));
                DeleteFileW(it->first.c_str());
                model_.erase(it);
            }
        } else if (choice < 94) {
            if (model_.size() < MaxFiles) {
                NewFile(folders_[Pick(FolderCount)]);
            }
        } else if (choice < 98) {
            if (model_.size() + 3 <= MaxFiles) {
                FolderDropWithWriter();
            }
        } else {
            UndoEntry recycled;
            recycled.kind = UndoKindRecycled;
            recycled.undoable = false;
            recycled.moves.push_back(MovePair{root_ + L"\\gone", L"recycle"});
            manager_.History().Push(recycled);
            if (manager_.Undo()) {
                Fail("undo went through a recycle entry");
            }
        }
        if (operation_.Running()) {
            Fail("the operation state stayed set");
        }
    }

    // The files of a folder dropped into one of the property's folders.
    static void ReadFolder(const std::wstring& folder, std::map<std::wstring, std::string>& disk)
    {
        WIN32_FIND_DATAW data{};
        const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) {
            return;
        }
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..") {
                const std::wstring path = folder + L"\\" + name;
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                    disk[Key(path)] = ReadBytes(path);
                } else {
                    ReadFolder(path, disk);
                }
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }

    static UniqueFile HoldOpen(const std::wstring& path)
    {
        return UniqueFile(
            CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }

    void CheckDisk()
    {
        std::map<std::wstring, std::string> disk;
        for (const std::wstring& folder : folders_) {
            WIN32_FIND_DATAW data{};
            const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
            if (find == INVALID_HANDLE_VALUE) {
                continue;
            }
            do {
                const std::wstring name = data.cFileName;
                const std::wstring path = folder + L"\\" + name;
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                    disk[Key(path)] = ReadBytes(path);
                } else if (name != L"." && name != L"..") {
                    ReadFolder(path, disk);
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        if (disk != model_) {
            std::string detail;
            for (const auto& [key, content] : model_) {
                const auto found = disk.find(key);
                if (found == disk.end() || found->second != content) {
                    detail += " expected " + Narrow(key) + "=" + content + ";";
                }
            }
            for (const auto& [key, content] : disk) {
                if (model_.count(key) == 0) {
                    detail += " unexpected " + Narrow(key) + "=" + content + ";";
                }
            }
            Fail("disk differs from what the entries say:" + detail);
        }
        // Every content exists once: nothing duplicated, nothing overwritten.
        std::vector<std::string> contents;
        for (const auto& [key, content] : disk) {
            contents.push_back(content);
        }
        std::sort(contents.begin(), contents.end());
        if (std::adjacent_find(contents.begin(), contents.end()) != contents.end()) {
            Fail("a content exists twice");
        }
    }

    std::mt19937 random_;
    OperationState operation_;
    MoveEngineFactory engines_;
    UndoManager manager_;
    std::wstring root_;
    std::wstring otherRoot_;
    bool shellEngine_ = false;
    std::vector<std::wstring> folders_;
    std::map<std::wstring, std::string> model_;
    int nextContent_ = 0;
    int nextFolder_ = 0;
    // Folders inside the property's folders, by key.
    std::set<std::wstring> subfolders_;
    UndoPropertyResult result_;
};

}  // namespace

UndoPropertyResult RunUndoProperty(std::uint32_t seed, int steps, MoveEngineFactory engines)
{
    Property property(seed, std::move(engines));
    return property.Run(steps);
}

}  // namespace cadrels::testing
