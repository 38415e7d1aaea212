#include "UndoProperty.h"

#include "TestFiles.h"
#include "fileops/FileMoves.h"
#include "fileops/UndoManager.h"
#include "model/PathText.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <random>
#include <sstream>

namespace cadrels::testing {
namespace {

constexpr int FolderCount = 4;
// Every step reads every file back; a bounded population keeps a long run
// linear instead of quadratic.
constexpr size_t MaxFiles = 24;
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
        for (int i = 0; i < FolderCount; ++i) {
            folders_.push_back(root_ + L"\\f" + std::to_wstring(i));
            CreateDirectoryW(folders_.back().c_str(), nullptr);
        }
    }
    ~Property() { RemoveTree(root_); }

    UndoPropertyResult Run(int steps)
    {
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
        for (const MovePair& move : moves) {
            const std::wstring from = Key(forward ? move.from : move.to);
            const std::wstring to = Key(forward ? move.to : move.from);
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

    void Drop()
    {
        const int source = Pick(FolderCount);
        const int target = (source + 1 + Pick(FolderCount - 1)) % FolderCount;
        std::vector<std::wstring> chosen;
        const std::wstring prefix = Key(folders_[source]) + L"\\";
        for (const auto& [key, content] : model_) {
            if (key.rfind(prefix, 0) == 0 && Pick(2) == 0) {
                chosen.push_back(key);
            }
        }
        const MoveReport report = MoveIntoFolder(engines_, chosen, folders_[target]);
        if (!report.succeeded) {
            Fail("a drop of existing files failed");
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
        const bool ran = redo ? manager_.Redo() : manager_.Undo().has_value();
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
                if (model_.count(Key(move.from)) == 0) {
                    const std::string content = "content " + std::to_string(nextContent_++);
                    WriteBytes(move.from, content);
                    model_[Key(move.from)] = content;
                }
            }
        } else if (choice < 92) {
            if (!model_.empty()) {  // deleted behind the program's back
                auto it = model_.begin();
                std::advance(it, Pick(static_cast<int>(model_.size())));
                DeleteFileW(it->first.c_str());
                model_.erase(it);
            }
        } else if (choice < 97) {
            if (model_.size() < MaxFiles) {
                NewFile(folders_[Pick(FolderCount)]);
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
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                    const std::wstring path = folder + L"\\" + data.cFileName;
                    disk[Key(path)] = ReadBytes(path);
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
    std::vector<std::wstring> folders_;
    std::map<std::wstring, std::string> model_;
    int nextContent_ = 0;
    UndoPropertyResult result_;
};

}  // namespace

UndoPropertyResult RunUndoProperty(std::uint32_t seed, int steps, MoveEngineFactory engines)
{
    Property property(seed, std::move(engines));
    return property.Run(steps);
}

}  // namespace cadrels::testing
