/* KVSampleC: a whole sign-up through KVRegisterC.dll from plain C, with a fake server.
 *
 * Build it in the unzipped package's folder, beside the DLLs (64-bit package shown; the 32-bit
 * one takes i686-w64-mingw32-gcc):
 *     x86_64-w64-mingw32-gcc -std=c99 -Wall -Iinclude samples/KVSampleC.c lib/KVRegisterC.lib -o KVSampleC.exe
 * With Microsoft's compiler:  cl /W4 /Iinclude samples\KVSampleC.c lib\KVRegisterC.lib advapi32.lib
 *
 * Run KVSampleC.exe from that folder: it points the registry at the folder, opens the wizard
 * and answers each action as a server would. The fake server's "SMS" code is always 4711. */
#include <stdio.h>
#include <string.h>

#include "KVRegisterC.h"

/* Each installation has its own key path: HKCU has one view for 32- and 64-bit programs. */
#if defined(_WIN64)
#define KEY_PATH "Software\\Korvane\\KVSampleC (64-bit)"
#else
#define KEY_PATH "Software\\Korvane\\KVSampleC (32-bit)"
#endif
#define CODE "4711"

/* What an installer writes: where the wizard's files are, and a log with information. */
static int WriteSettings(void) {
    char folder[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, folder, MAX_PATH);
    DWORD level = 2;
    LONG status;
    char* slash;
    if (length == 0 || length >= MAX_PATH || (slash = strrchr(folder, '\\')) == NULL) return 0;
    *slash = 0; /* the program's own folder, without a trailing backslash */
    status = RegSetKeyValueA(HKEY_CURRENT_USER, KEY_PATH, "InstallRoot", REG_SZ, folder, (DWORD)strlen(folder) + 1);
    if (status == ERROR_SUCCESS)
        status = RegSetKeyValueA(HKEY_CURRENT_USER, KEY_PATH "\\Debug", "LogLevel", REG_DWORD, &level, sizeof level);
    if (status != ERROR_SUCCESS) fprintf(stderr, "cannot write HKCU\\%s: error %ld\n", KEY_PATH, status);
    return status == ERROR_SUCCESS;
}

/* The fake server: anyone may register, the first registration is answered "busy", and three
 * wrong codes block the number. */
static int g_busyAnswers = 1;
static int g_wrongCodes = 0;

static void Answer(const KVActionRecordA* action, KVResultRecordA* result) {
    memset(result, 0, sizeof *result);
    result->Size = sizeof *result;
    switch (action->Action) {
    case KVACTION_QUERYREGISTER:
        printf("server: %s and %s may register\n", action->Msisdn, action->UserEmail);
        result->Result = KVRESULT_QUERIEDREGISTER;
        break;
    case KVACTION_REGISTER:
        if (g_busyAnswers > 0) {
            --g_busyAnswers;
            result->Result = KVRESULT_PENDING;
            result->WaitSeconds = 2;
            strcpy(result->ResultText, "The server is busy.");
            break;
        }
        printf("server: SMS to %s: your registration code is %s\n", action->Msisdn, CODE);
        result->Result = KVRESULT_VALIDATE;
        strcpy(result->ResultText, "Code sent.");
        break;
    case KVACTION_VALIDATE:
        if (strcmp(action->RegCode, CODE) == 0) {
            result->Result = KVRESULT_REGISTERED;
            strcpy(result->InfoText, "Welcome!");
        } else {
            result->Result = KVRESULT_ERROR;
            strcpy(result->ErrorKey, ++g_wrongCodes < 3 ? "InvalidRegCode" : "RegCodeBlocked");
            strcpy(result->ErrorText, "The registration code is wrong.");
        }
        break;
    default:
        result->Result = KVRESULT_ERROR;
        strcpy(result->ErrorKey, "UNKNOWN ERROR");
        break;
    }
}

int main(void) {
    static KVResultRecordA result; /* 3 KB each: kept off the stack */
    static KVActionRecordA action;
    int step;
    if (!WriteSettings()) return 4;
    if (KVRegisterInitA(KEY_PATH) != KVREGISTER_OK) return 4;

    memset(&result, 0, sizeof result);
    result.Size = sizeof result;
    result.Result = KVRESULT_NONE;
    for (step = 1;; ++step) {
        int status;
        action.Size = sizeof action;
        /* The wizard is centred over the console window, when the program has one. */
        status = KVRegisterInternalA(&result, &action, GetConsoleWindow());
        printf("step %d: status %d, action %d\n", step, status, (int)action.Action);
        if (status == KVREGISTER_TEXTTOOLONG) {
            /* A text did not fit: the wizard shows this as a server error, and the person
             * shortens it on the user-info page. */
            memset(&result, 0, sizeof result);
            result.Size = sizeof result;
            result.Result = KVRESULT_ERROR;
            strcpy(result.ErrorKey, "RegTaskFailed");
            strcpy(result.ErrorText, "A text you typed is too long.");
            continue;
        }
        if (status != KVREGISTER_OK && status != KVREGISTER_FAILED) {
            fprintf(stderr, "the step refused its records (status %d, texts 0x%x)\n", status,
                    (unsigned)action.TextErrors);
            return 4;
        }
        switch (action.Action) {
        case KVACTION_FINISHED:
            printf("registered: %s, %s, %s\n", action.Msisdn, action.UserEmail, action.UserName);
            return 0;
        case KVACTION_CANCEL:
            printf("cancelled\n");
            return 1;
        case KVACTION_ERROR:
            fprintf(stderr, "the wizard could not run: %s (%s)\n", action.ErrorText, action.ErrorKey);
            return 2;
        default:
            Answer(&action, &result);
        }
    }
}
