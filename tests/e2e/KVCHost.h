/* A host of KVRegisterC.dll written in C, as an integrator's C program would be: it loads the
 * DLL by path, binds the four exports and runs sign-ups, answering each action with the next
 * of the server's answers given in advance.
 *   KVCHostExports   the exports as bound, for calls the runs do not make
 *   KVCAnswer        one result record of the server, texts as plain strings
 *   KVCRun           what each step of a run returned and handed back */
#ifndef KVCHOST_H
#define KVCHOST_H

#include "include/KVRegisterC.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct KVCHostExports {
    KVRegisterInitAFn initA;
    KVRegisterInitWFn initW;
    KVRegisterInternalAFn internalA;
    KVRegisterInternalWFn internalW;
} KVCHostExports;

/* Texts in the code page on the A road and in UTF-8 on the W road; null is empty. */
typedef struct KVCAnswer {
    INT32 result;
    INT32 waitSeconds;
    const char* resultText;
    const char* infoText;
    const char* errorKey;
    const char* errorText;
} KVCAnswer;

#define KVCHOST_MAX_STEPS 16

typedef struct KVCRun {
    int steps;
    int returned[KVCHOST_MAX_STEPS];
    /* On the W road the texts are converted to UTF-8. */
    KVActionRecordA actions[KVCHOST_MAX_STEPS];
} KVCRun;

/* Loads the DLL afresh (each load reads the language files again); null when the DLL or one
 * of its exports is missing. */
const KVCHostExports* KVCHostLoad(const char* path);
void KVCHostUnload(void);

/* Steps with one answer each, in order, until an action ends the run, a step returns anything
 * but KVREGISTER_OK or KVREGISTER_TEXTTOOLONG, or the answers are used up. `wide` takes the W
 * road. Returns the number of steps. */
int KVCHostRun(int wide, const KVCAnswer* answers, int count, HWND owner, KVCRun* run);

#ifdef __cplusplus
}
#endif

#endif /* KVCHOST_H */
