// JSON codec throughput on a large layout, next to nlohmann::json and
// RapidJSON on the same bytes, and the layout file's load and save end to end.
#include "LargeLayout.h"

#include "base/ProcessHeap.h"
#include "model/JsonValue.h"
#include "model/LayoutFile.h"

#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// Median wall time of `runs` calls, in seconds. What a call returns is
// destroyed after the clock stops: a parse is timed, not the freeing of the
// document it built.
template <typename Work>
double MedianSeconds(int runs, const Work& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        {
            [[maybe_unused]] const auto result = work();
            times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Row(const char* name, double megabytes, double seconds)
{
    std::printf("%-34s %9.2f ms %9.1f MB/s\n", name, seconds * 1000.0, megabytes / seconds);
}

}  // namespace

int main()
{
    using namespace cadrels;
    // The heap as Cadrels.exe sets it up at start.
    UseLowFragmentationHeap();
    const Settings settings = testing::MakeLargeSettings(20, 50, 5, 2026);
    const std::string text = SerializeSettings(settings);
    const double megabytes = static_cast<double>(text.size()) / (1024.0 * 1024.0);
    std::printf("document: 20 pages x 50 cadrels x 5 tabs, 3 display keys, %.2f MB\n\n", megabytes);
    constexpr int Runs = 15;
    size_t sink = 0;

    std::printf("parse (DOM)\n");
    const double ours = MedianSeconds(Runs, [&] {
        auto value = std::make_unique<JsonValue>();
        sink += ParseJson(text, *value) ? value->Members().size() : 0;
        return value;
    });
    Row("  ParseJson", megabytes, ours);
    const double nlohmannParse = MedianSeconds(Runs, [&] {
        auto value = std::make_unique<nlohmann::json>(nlohmann::json::parse(text));
        sink += value->size();
        return value;
    });
    Row("  nlohmann::json::parse", megabytes, nlohmannParse);
    const double rapidParse = MedianSeconds(Runs, [&] {
        auto document = std::make_unique<rapidjson::Document>();
        document->Parse(text.data(), text.size());
        sink += document->HasParseError() ? 0 : document->MemberCount();
        return document;
    });
    Row("  rapidjson::Document::Parse", megabytes, rapidParse);

    std::printf("\nserialise (indent 2)\n");
    JsonValue value;
    ParseJson(text, value);
    const double oursWrite = MedianSeconds(Runs, [&] {
        std::string written = SerializeJson(value, 2);
        sink += written.size();
        return written;
    });
    Row("  SerializeJson", megabytes, oursWrite);
    const nlohmann::json nlohmannValue = nlohmann::json::parse(text);
    const double nlohmannWrite = MedianSeconds(Runs, [&] {
        std::string written = nlohmannValue.dump(2);
        sink += written.size();
        return written;
    });
    Row("  nlohmann::json::dump(2)", megabytes, nlohmannWrite);
    rapidjson::Document rapidValue;
    rapidValue.Parse(text.data(), text.size());
    const double rapidWrite = MedianSeconds(Runs, [&] {
        auto buffer = std::make_unique<rapidjson::StringBuffer>();
        rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(*buffer);
        writer.SetIndent(' ', 2);
        rapidValue.Accept(writer);
        sink += buffer->GetSize();
        return buffer;
    });
    Row("  rapidjson::PrettyWriter", megabytes, rapidWrite);

    std::printf("\nlayout file end to end\n");
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring path = std::wstring(temp) + L"cadrels-bench-layout.json";
    LayoutFile file(path);
    file.Save(settings);
    const double save = MedianSeconds(Runs, [&] {
        sink += file.Save(settings) ? 1 : 0;
        return 0;
    });
    Row("  SaveLayout (serialise + atomic write)", megabytes, save);
    const double load = MedianSeconds(Runs, [&] {
        auto loaded = std::make_unique<Settings>();
        bool pagesFound = false;
        sink += LoadSettingsFile(path, *loaded, pagesFound) ? loaded->workspaces.size() : 0;
        return loaded;
    });
    Row("  LoadSettingsFile (read + parse + records)", megabytes, load);
    DeleteFileW(path.c_str());
    DeleteFileW((path + L".bak").c_str());

    std::printf("\nParseJson vs nlohmann: %.2fx faster; vs RapidJSON: %.2f of its speed\n", nlohmannParse / ours,
                rapidParse / ours);
    std::printf("SerializeJson vs nlohmann: %.2fx faster; vs RapidJSON: %.2fx faster\n", nlohmannWrite / oursWrite,
                rapidWrite / oursWrite);
    return sink == 0 ? 1 : 0;
}
