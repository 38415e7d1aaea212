#include "sorting/FileReadiness.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

constexpr std::uint64_t Now = 133'000'000'000'000'000ull;
constexpr std::uint64_t Second = 10'000'000ull;

TEST(FileReadiness, UnfinishedNamesAreKnownWhateverTheirCase)
{
    struct Case {
        const wchar_t* name;
        bool unfinished;
    };
    const Case cases[] = {
        {L"facture mars.pdf.crdownload", true}, {L"a.PART", true},       {L"a.partial", true},
        {L"a.download", true},                  {L"a.opdownload", true}, {L"~$rapport.docx", true},
        {L"facture.pdf", false},                {L"part", false},        {L"a.parts", false},
        {L"download.pdf", false},               {L"x~$y.docx", false},   {L"~rapport.docx", false},
        {L".part", true},                       {L"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsUnfinishedFileName(c.name), c.unfinished) << c.name;
    }
}

TEST(FileReadiness, AnEmptyFileIsReadyOnlyOnceAMinuteOld)
{
    EXPECT_FALSE(IsReadyToFile(L"a.pdf", FileStat{0, Now - 59 * Second, false}, Now));
    EXPECT_FALSE(IsReadyToFile(L"a.pdf", FileStat{0, Now + 5 * Second, false}, Now)) << "written ahead of our clock";
    EXPECT_TRUE(IsReadyToFile(L"a.pdf", FileStat{0, Now - 61 * Second, false}, Now));
    EXPECT_TRUE(IsReadyToFile(L"a.pdf", FileStat{1, Now, false}, Now)) << "not empty: ready at once";
    EXPECT_FALSE(IsReadyToFile(L"a.pdf.crdownload", FileStat{1000, Now - 3600 * Second, false}, Now));
}

TEST(QuietPeriod, StartsOnceQuietAndLaterChangesPushItBackUpToTheLongestDelay)
{
    QuietPeriod period(1000, 5000);
    EXPECT_FALSE(period.Pending());
    EXPECT_FALSE(period.Due(0));

    period.Changed(10'000);
    EXPECT_FALSE(period.Due(10'999));
    EXPECT_EQ(period.Remaining(10'400), 600u);
    period.Changed(10'800);  // pushed back
    EXPECT_FALSE(period.Due(11'500));
    EXPECT_TRUE(period.Due(11'800));

    // A folder that never stops changing is still filed at the longest delay.
    for (std::uint64_t now = 11'900; now < 20'000; now += 500) {
        period.Changed(now);
    }
    EXPECT_TRUE(period.Due(15'000)) << "at most 5 s after the first change";
    period.Started();
    EXPECT_FALSE(period.Due(30'000));

    period.Changed(40'000);
    EXPECT_TRUE(period.Due(41'000)) << "a new first change after the pass";
}

}  // namespace
}  // namespace cadrels
