#include "schemes/SchemeSavePlan.h"

#include <set>

namespace {

constexpr char kSchemeFileName[] = "Scheme.txt";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Where each folder separator of a sound's file name stands, and its end.
std::vector<size_t> SegmentEnds(const std::string& file, LeadBytePredicate isLeadByte) {
    std::vector<size_t> ends;
    for (size_t i = 0, bytes = 1; i < file.size(); i += bytes) {
        bytes = CharacterBytes(file, i, isLeadByte);
        if (bytes == 1 && IsSeparator(file[i])) ends.push_back(i);
    }
    ends.push_back(file.size());
    return ends;
}

// A sound named with a drive or a ".." step lies outside the scheme's folder, where the old and
// the new name reach the same file; there is nothing to copy.
bool StaysInSchemeFolder(const std::string& file, const std::vector<size_t>& segmentEnds) {
    if (file.find(':') != std::string::npos || segmentEnds.front() == 0) return false;
    size_t start = 0;
    for (size_t end : segmentEnds) {
        if (file.compare(start, end - start, "..") == 0) return false;
        start = end + 1;
    }
    return true;
}

// Folders a sound's sub-path needs inside the scheme folder, outermost first.
void AddSubFolders(const std::string& folder, const std::string& file,
                   const std::vector<size_t>& segmentEnds, std::vector<std::string>& folders) {
    for (size_t i = 0; i + 1 < segmentEnds.size(); ++i) {
        std::string path = folder + file.substr(0, segmentEnds[i]);
        bool known = false;
        for (const std::string& listed : folders) known = known || listed == path;
        if (!known) folders.push_back(std::move(path));
    }
}

bool FitsPath(const std::string& path) { return path.size() <= kMaxSchemePathChars; }

}  // namespace

bool PlanSchemeSave(const std::string& schemesFolder, const SchemeEdit& edit,
                    LeadBytePredicate isLeadByte, SchemeSavePlan& plan) {
    plan = SchemeSavePlan{};
    // Without a schemes folder the scheme would land relative to whatever the current folder is.
    if (schemesFolder.empty()) return false;
    plan.folder = schemesFolder + edit.name + "\\";
    plan.schemeFile = plan.folder + kSchemeFileName;
    if (!FitsPath(plan.schemeFile)) return false;
    plan.folders.push_back(plan.folder);

    plan.table = edit.openedTable;
    plan.releases = edit.openedReleases;
    std::set<std::string> chosen;
    for (size_t i = 0; i < edit.rowFiles.size(); ++i) {
        plan.table[KeyCodeFromName(EditableKeyNames[i])] = edit.rowFiles[i];
        if (!edit.rowFiles[i].empty() && !edit.rowSources[i].empty())
            chosen.insert(edit.rowFiles[i]);
    }

    // Under a new name, the sounds kept from the opened scheme stay behind in its folder.
    const bool renamed =
        !edit.openedName.empty() && !EqualIgnoringAsciiCase(edit.openedName, edit.name, isLeadByte);
    if (renamed) {
        const std::string openedFolder = schemesFolder + edit.openedName + "\\";
        std::set<std::string> kept;
        // Presses first, then releases: a file both name is copied once.
        for (const KeySoundTable* table : {&plan.table, &plan.releases}) {
            for (const std::string& file : *table) {
                if (file.empty() || chosen.count(file) != 0 || !kept.insert(file).second) continue;
                const std::vector<size_t> segmentEnds = SegmentEnds(file, isLeadByte);
                if (!StaysInSchemeFolder(file, segmentEnds)) continue;
                const std::string source = openedFolder + file;
                std::string target = plan.folder + file;
                if (!FitsPath(source) || !FitsPath(target)) continue;
                AddSubFolders(plan.folder, file, segmentEnds, plan.folders);
                plan.copies.emplace_back(source, std::move(target));
            }
        }
    }

    for (size_t i = 0; i < edit.rowFiles.size(); ++i) {
        if (edit.rowFiles[i].empty() || edit.rowSources[i].empty()) continue;
        std::string target = plan.folder + edit.rowFiles[i];
        if (!FitsPath(target)) continue;
        plan.copies.emplace_back(edit.rowSources[i], std::move(target));
    }
    return true;
}
