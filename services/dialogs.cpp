// The dialog kinds and their texts, and the answer handler registered with the
// s3eDialog extension. The Russian texts are Windows-1251 bytes (the UTF-8
// form is in the comment beside each); the extension shows them as they are.
#include "services/dialogs.h"

#include "platform/s3e.h"
#include "platform/s3e_ext.h"
#include "services/device.h"

namespace {

struct DialogTexts {
    const char* title;
    const char* message;
    const char* buttons[3];
};

// Index id - 1.
const DialogTexts kEnglish[] = {
    {" ", "Quit?", {"Yes", "No", nullptr}},
    {" ", "Clear all?", {"Yes", "No", nullptr}},
    {" ", "Themes", {"Light", "Dark", "Grey"}},
    {"Premium version",
     "Premium version of app without ads is avaliable.",
     {"More info...", "Cancel", nullptr}},
};

#define YES_RU "\xC4\xE0"     // Да
#define NO_RU "\xCD\xE5\xF2"  // Нет

const DialogTexts kRussian[] = {
    {" ", "\xC2\xFB\xE9\xF2\xE8?", {YES_RU, NO_RU, nullptr}},  // Выйти?
    {" ",
     "\xD1\xF2\xE5\xF0\xE5\xF2\xFC \xE2\xF1\xE5?",  // Стереть все?
     {YES_RU, NO_RU, nullptr}},
    {" ",
     "\xC2\xFB\xE1\xEE\xF0 \xF2\xE5\xEC\xFB",  // Выбор темы
     {
         "\xD1\xE2\xE5\xF2\xEB\xE0\xFF",  // Светлая
         "\xD2\xE5\xEC\xED\xE0\xFF",      // Темная
         "\xD1\xE5\xF0\xE0\xFF",          // Серая
     }},
    {"\xCF\xF0\xE5\xEC\xE8\xF3\xEC-\xE2\xE5\xF0\xF1\xE8\xFF",  // Премиум-версия
                                                               // Доступна версия приложения без
                                                               // рекламы. Желаете ознакомиться?
     "\xC4\xEE\xF1\xF2\xF3\xEF\xED\xE0 \xE2\xE5\xF0\xF1\xE8\xFF "
     "\xEF\xF0\xE8\xEB\xEE\xE6\xE5\xED\xE8\xFF \xE1\xE5\xE7 \xF0\xE5\xEA\xEB\xE0\xEC\xFB. "
     "\xC6\xE5\xEB\xE0\xE5\xF2\xE5 \xEE\xE7\xED\xE0\xEA\xEE\xEC\xE8\xF2\xFC\xF1\xFF?",
     {YES_RU, NO_RU, nullptr}},
};

#undef YES_RU
#undef NO_RU

struct Dialogs {
    bool started = false;
    bool available = false;
    bool russian = false;
    void (*onAnswer)(int32_t id, int32_t button) = nullptr;
    s3eDialogTable table{};
};

Dialogs g_dialogs;

int32_t OnDialogAnswer(void* systemData, void*) {
    const auto* answer = static_cast<const DialogAnswer*>(systemData);
    if (answer && g_dialogs.onAnswer) g_dialogs.onAnswer(answer->id, answer->button);
    return 0;
}

}  // namespace

void StartDialogs(void (*onAnswer)(int32_t id, int32_t button)) {
    g_dialogs = Dialogs();
    g_dialogs.started = true;
    g_dialogs.onAnswer = onAnswer;
    g_dialogs.russian = device.russian;
    g_dialogs.available = s3eExtLookup(S3E_EXT_DIALOG_ID, &g_dialogs.table) &&
                          g_dialogs.table.Register && g_dialogs.table.AlertShow;
    if (!g_dialogs.available) {
        s3eDebugAssertShow(S3E_MESSAGE_CONTINUE, "error loading extension: s3eDialog");
        return;
    }
    g_dialogs.table.Register(S3E_DIALOG_CALLBACK_ANSWER, &OnDialogAnswer, nullptr);
}

void StopDialogs() {
    if (g_dialogs.available && g_dialogs.table.UnRegister) {
        g_dialogs.table.UnRegister(S3E_DIALOG_CALLBACK_ANSWER, &OnDialogAnswer);
    }
    g_dialogs = Dialogs();
}

void ShowDialog(int32_t id) {
    // A box without texts or buttons would only puzzle the player.
    if (!g_dialogs.available || id < kDialogQuit || id > kDialogPaidEdition) return;
    const DialogTexts& t = (g_dialogs.russian ? kRussian : kEnglish)[id - 1];
    DialogRequest request{t.message, t.title, t.buttons[0], t.buttons[1], t.buttons[2], id};
    g_dialogs.table.AlertShow(&request);
}
