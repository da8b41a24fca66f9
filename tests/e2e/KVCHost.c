/* Compiled as C99: the host side of KVRegisterC.dll needs nothing of C++. */
#include "tests/e2e/KVCHost.h"

#include <stddef.h>
#include <string.h>

static HMODULE g_module;
static KVCHostExports g_exports;

/* Where a text lies in the A and the W record, and how many characters it holds. */
typedef struct TextField {
    size_t a, w, chars;
} TextField;

#define ACTION_TEXT(name, chars) {offsetof(KVActionRecordA, name), offsetof(KVActionRecordW, name), chars}
static const TextField kActionTexts[] = {
    ACTION_TEXT(Msisdn, KVREGISTER_TEXT_CHARS),        ACTION_TEXT(UserName, KVREGISTER_TEXT_CHARS),
    ACTION_TEXT(UserPassword, KVREGISTER_TEXT_CHARS),  ACTION_TEXT(UserEmail, KVREGISTER_TEXT_CHARS),
    ACTION_TEXT(ContactPerson, KVREGISTER_TEXT_CHARS), ACTION_TEXT(ContactInfo, KVREGISTER_TEXT_CHARS),
    ACTION_TEXT(GroupId, KVREGISTER_TEXT_CHARS),       ACTION_TEXT(RegCode, KVREGISTER_TEXT_CHARS),
    ACTION_TEXT(ErrorKey, KVREGISTER_TEXT_CHARS),      ACTION_TEXT(ErrorText, KVREGISTER_MESSAGE_CHARS),
};
/* In the order of KVCAnswer's texts. */
#define RESULT_TEXT(name, chars) {offsetof(KVResultRecordA, name), offsetof(KVResultRecordW, name), chars}
static const TextField kResultTexts[] = {
    RESULT_TEXT(ResultText, KVREGISTER_MESSAGE_CHARS), RESULT_TEXT(InfoText, KVREGISTER_MESSAGE_CHARS),
    RESULT_TEXT(ErrorKey, KVREGISTER_TEXT_CHARS),      RESULT_TEXT(ErrorText, KVREGISTER_MESSAGE_CHARS),
};

const KVCHostExports* KVCHostLoad(const char* path) {
    KVCHostUnload();
    g_module = LoadLibraryA(path);
    if (g_module == NULL) return NULL;
    /* Through a plain function pointer type, as C allows between function pointers. */
    g_exports.initA = (KVRegisterInitAFn)(void (*)(void))GetProcAddress(g_module, "KVRegisterInitA");
    g_exports.initW = (KVRegisterInitWFn)(void (*)(void))GetProcAddress(g_module, "KVRegisterInitW");
    g_exports.internalA = (KVRegisterInternalAFn)(void (*)(void))GetProcAddress(g_module, "KVRegisterInternalA");
    g_exports.internalW = (KVRegisterInternalWFn)(void (*)(void))GetProcAddress(g_module, "KVRegisterInternalW");
    if (!g_exports.initA || !g_exports.initW || !g_exports.internalA || !g_exports.internalW) return NULL;
    return &g_exports;
}

void KVCHostUnload(void) {
    if (g_module != NULL) FreeLibrary(g_module);
    g_module = NULL;
    memset(&g_exports, 0, sizeof g_exports);
}

/* A text of an answer into a record's array, zeroed before: as it is (A), or from UTF-8 (W). */
static void Put(int wide, void* record, const TextField* field, const char* text) {
    if (text == NULL) return;
    if (wide)
        MultiByteToWideChar(CP_UTF8, 0, text, -1, (WCHAR*)((char*)record + field->w), (int)field->chars - 1);
    else
        strncpy((char*)record + field->a, text, field->chars - 1);
}

/* One step; the action comes back as an A record, with UTF-8 texts on the W road. */
static int Step(int wide, const KVCAnswer* answer, HWND owner, KVActionRecordA* out) {
    static KVResultRecordA resultA;
    static KVResultRecordW resultW;
    static KVActionRecordW actionW;
    const char* const texts[4] = {answer->resultText, answer->infoText, answer->errorKey, answer->errorText};
    size_t i;
    int returned;
    memset(&resultA, 0, sizeof resultA);
    memset(&resultW, 0, sizeof resultW);
    resultA.Size = sizeof resultA;
    resultW.Size = sizeof resultW;
    resultA.Result = resultW.Result = answer->result;
    resultA.WaitSeconds = resultW.WaitSeconds = answer->waitSeconds;
    for (i = 0; i < 4; ++i) Put(wide, wide ? (void*)&resultW : (void*)&resultA, &kResultTexts[i], texts[i]);
    out->Size = sizeof *out;
    out->Action = -1; /* a step that sets none shows as such */
    if (!wide) return g_exports.internalA(&resultA, out, owner);

    memset(&actionW, 0, sizeof actionW);
    actionW.Size = sizeof actionW;
    actionW.Action = -1;
    returned = g_exports.internalW(&resultW, &actionW, owner);
    out->Action = actionW.Action;
    out->UseIp = actionW.UseIp;
    out->TextErrors = actionW.TextErrors;
    for (i = 0; i < sizeof kActionTexts / sizeof kActionTexts[0]; ++i) {
        const WCHAR* from = (const WCHAR*)((const char*)&actionW + kActionTexts[i].w);
        char* to = (char*)out + kActionTexts[i].a;
        if (WideCharToMultiByte(CP_UTF8, 0, from, -1, to, (int)kActionTexts[i].chars, NULL, NULL) == 0) to[0] = 0;
    }
    return returned;
}

void KVCHostRun(int wide, const KVCAnswer* answers, int count, HWND owner, KVCRun* run) {
    for (run->steps = 0; run->steps < count && run->steps < 16; ++run->steps) {
        const int step = run->steps;
        const INT32* action = &run->actions[step].Action;
        run->returned[step] = Step(wide, &answers[step], owner, &run->actions[step]);
        if (*action == KVACTION_FINISHED || *action == KVACTION_CANCEL || *action == KVACTION_ERROR ||
            (run->returned[step] != KVREGISTER_OK && run->returned[step] != KVREGISTER_TEXTTOOLONG)) {
            ++run->steps;
            return;
        }
    }
}
