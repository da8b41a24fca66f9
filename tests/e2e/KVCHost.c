/* Compiled as C99: the host side of KVRegisterC.dll needs nothing of C++. */
#include "tests/e2e/KVCHost.h"

#include <string.h>

static HMODULE g_module;
static KVCHostExports g_exports;

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

/* A text of an answer into both records' arrays, zeroed before: as it is (A), and from UTF-8 (W). */
static void Put(const char* text, char* a, WCHAR* w, int chars) {
    if (text == NULL) return;
    strncpy(a, text, (size_t)chars - 1);
    MultiByteToWideChar(CP_UTF8, 0, text, -1, w, chars - 1);
}

/* One step; the action comes back as an A record, on the W road with only the name, in UTF-8. */
static int Step(int wide, const KVCAnswer* answer, HWND owner, KVActionRecordA* out) {
    static KVResultRecordA resultA;
    static KVResultRecordW resultW;
    static KVActionRecordW actionW;
    int returned;
    memset(&resultA, 0, sizeof resultA);
    memset(&resultW, 0, sizeof resultW);
    resultA.Size = sizeof resultA;
    resultW.Size = sizeof resultW;
    resultA.Result = resultW.Result = answer->result;
    resultA.WaitSeconds = resultW.WaitSeconds = answer->waitSeconds;
    Put(answer->resultText, resultA.ResultText, resultW.ResultText, KVREGISTER_MESSAGE_CHARS);
    Put(answer->infoText, resultA.InfoText, resultW.InfoText, KVREGISTER_MESSAGE_CHARS);
    Put(answer->errorKey, resultA.ErrorKey, resultW.ErrorKey, KVREGISTER_TEXT_CHARS);
    Put(answer->errorText, resultA.ErrorText, resultW.ErrorText, KVREGISTER_MESSAGE_CHARS);
    memset(out, 0, sizeof *out);
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
    if (!WideCharToMultiByte(CP_UTF8, 0, actionW.UserName, -1, out->UserName, (int)sizeof out->UserName, NULL, NULL))
        out->UserName[0] = 0;
    return returned;
}

void KVCHostRun(int wide, const KVCAnswer* answers, int count, HWND owner, KVCRun* run) {
    for (run->steps = 0; run->steps < count && run->steps < 16;) {
        const int step = run->steps++;
        const int returned = run->returned[step] = Step(wide, &answers[step], owner, &run->actions[step]);
        const INT32 action = run->actions[step].Action;
        if (action == KVACTION_FINISHED || action == KVACTION_CANCEL || action == KVACTION_ERROR ||
            (returned != KVREGISTER_OK && returned != KVREGISTER_TEXTTOOLONG))
            return;
    }
}
