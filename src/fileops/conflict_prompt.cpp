#include "fileops/conflict_prompt.h"

#include <cstring>

#include "fileops/bounded_text.h"

const char kConflictPromptCaption[] = "Problem kopiowania pliku";

namespace {

const char kPromptFormat[] = "Wykryto problem przy próbie skopiowania pliku do katalogu docelowego.\n"
                             "Podany plik już istnieje.\n"
                             "\n"
                             "Informacje o plikach:\n"
                             "\n"
                             "ŹRÓDŁOWY\n"
                             "Nazwa: %s\n"
                             "Rozmiar: %d\n"
                             "Data modyfikacji: %d-%02d-%02d, %02d:%02d:%02d\n"
                             "\n"
                             "DOCELOWY\n"
                             "Nazwa: %s\n"
                             "Rozmiar: %d\n"
                             "Data modyfikacji: %d-%02d-%02d, %02d:%02d:%02d\n"
                             "\n";
bool keepConflicts = false;

const char kEllipsis[] = "...";
const size_t kEllipsisLength = sizeof kEllipsis - 1;

bool Format(char *text, size_t capacity, const char *sourcePath, const PromptedFile &source, const char *targetPath,
            const PromptedFile &target) {
    const SYSTEMTIME &s = source.lastWrite;
    const SYSTEMTIME &t = target.lastWrite;
    return FormatText(text, capacity, kPromptFormat, sourcePath, static_cast<int>(source.sizeLow), s.wYear, s.wMonth,
                      s.wDay, s.wHour, s.wMinute, s.wSecond, targetPath, static_cast<int>(target.sizeLow), t.wYear,
                      t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

// The path's last `room` characters, led by "..." when it had to be cut.
void ShortenPath(char *out, size_t capacity, const char *path, size_t room) {
    size_t length = std::strlen(path);
    if (length <= room) {
        CopyText(out, capacity, path);
    } else if (room <= kEllipsisLength) {
        CopyText(out, capacity, "");
    } else {
        FormatText(out, capacity, "%s%s", kEllipsis, path + length - (room - kEllipsisLength));
    }
}

} // namespace

void ComposeConflictPrompt(char *text, size_t capacity, const PromptedFile &source, const PromptedFile &target) {
    // No room even for a terminator: there is no text to measure below.
    if (capacity == 0) return;
    if (Format(text, capacity, source.path, source, target.path, target)) return;

    // Share the room left by the fixed lines between the two paths.
    Format(text, capacity, "", source, "", target);
    size_t fixed = std::strlen(text);
    size_t room = capacity > fixed + 1 ? capacity - 1 - fixed : 0;
    size_t sourceLength = std::strlen(source.path);
    size_t targetLength = std::strlen(target.path);
    size_t sourceRoom = room / 2;
    size_t targetRoom = room - sourceRoom;
    if (sourceLength < sourceRoom) targetRoom += sourceRoom - sourceLength;
    if (targetLength < targetRoom) sourceRoom += targetRoom - targetLength;

    char sourceShown[kConflictPromptCapacity];
    char targetShown[kConflictPromptCapacity];
    ShortenPath(sourceShown, sizeof sourceShown, source.path, sourceRoom);
    ShortenPath(targetShown, sizeof targetShown, target.path, targetRoom);
    Format(text, capacity, sourceShown, source, targetShown, target);
}

void KeepConflictsWithoutAsking(bool keep) { keepConflicts = keep; }

int AskAboutConflict(const PromptedFile &source, const PromptedFile &target) {
    if (keepConflicts) return kConflictNotAsked;
    char text[kConflictPromptCapacity];
    ComposeConflictPrompt(text, sizeof text, source, target);
    return MessageBoxA(nullptr, text, kConflictPromptCaption, kConflictPromptFlags);
}
