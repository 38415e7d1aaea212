#include "LargeLayout.h"

#include <random>

namespace cadrels::testing {

Settings MakeLargeSettings(int pages, int cadrelsPerPage, int tabsPerCadrel, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> fraction(0.0, 1.0);
    const char* keys[] = {"\\\\?\\DISPLAY#DEL40F6#5&1a2b3c&0&UID4352#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}|1920x1040@96",
                          "\\\\?\\DISPLAY#SAM0F01#4&9f8e7d&0&UID256#{e6f07b5f-ee97-4a90-b076-33f57bf4eaa7}|2560x1400@144",
                          "\\\\.\\DISPLAY1|1366x728@96"};
    Settings s;
    s.language = static_cast<int>(seed % 19);
    s.grid = static_cast<int>(seed % 32);
    s.dock = {L"C:\\Program Files\\Éditeur\\edit.exe", L"C:\\Users\\Public\\Documents"};
    s.watchFolders = {L"C:\\Users\\élodie\\Downloads"};
    for (int p = 0; p < pages; ++p) {
        Workspace page;
        page.id = "{PAGE-" + std::to_string(p) + "-" + std::to_string(seed) + "}";
        page.name = L"Espace de travail n°" + std::to_wstring(p);
        for (int c = 0; c < cadrelsPerPage; ++c) {
            CadrelRecord record;
            record.id = "{CADREL-" + std::to_string(p) + "-" + std::to_string(c) + "-0000-0000-00000000}";
            record.opacity = 0.15 + 0.85 * fraction(random);
            record.tint = static_cast<Color>(random() & 0xFFFFFF);
            record.viewMode = c % 3;
            record.rule.enabled = c % 2 == 0;
            record.rule.exts = L"png jpg jpeg gif webp";
            record.rule.priority = c % 5;
            record.rule.groups = {{{0, 0, L"pdf docx", 0}, {2, 1, L"", 50}}, {{1, 1, L"facture_*", 0}}};
            for (int t = 0; t < tabsPerCadrel; ++t) {
                CadrelTab tab;
                tab.title = L"Onglet " + std::to_wstring(t) + L" — été";
                tab.folder = L"C:\\Users\\élodie\\Cadrels\\Dossier " + std::to_wstring(p) + L"-" + std::to_wstring(c) +
                             L"-" + std::to_wstring(t);
                tab.pinned = {L"important.txt", L"plan.pdf"};
                record.tabs.push_back(std::move(tab));
            }
            for (const char* key : keys) {
                page.layouts[key][record.id] =
                    CadrelGeom{"\\\\?\\DISPLAY#DEL40F6", fraction(random), fraction(random), 0.28, 0.52, c % 7 == 0};
            }
            page.cadrels.push_back(std::move(record));
        }
        s.workspaces.push_back(std::move(page));
    }
    return s;
}

}  // namespace cadrels::testing
