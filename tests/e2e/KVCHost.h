/* A host of KVRegisterC.dll written in C, as an integrator's C program would be: it loads the
 * DLL by path, binds the four exports, and runs sign-ups whose server answers are given in
 * advance, one per step. */
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

/* A result record; texts in the code page on the A road and in UTF-8 on the W road, null empty. */
typedef struct KVCAnswer {
    INT32 result;
    INT32 waitSeconds;
    const char *resultText, *infoText, *errorKey, *errorText;
} KVCAnswer;

/* What each step returned and handed back; on the W road only the name, converted to UTF-8. */
typedef struct KVCRun {
    int steps;
    int returned[16];
    KVActionRecordA actions[16];
} KVCRun;

/* Loads the DLL afresh (each load reads the language files again); null without it or an export. */
const KVCHostExports* KVCHostLoad(const char* path);
void KVCHostUnload(void);
/* Steps until an action ends the run, a step returns anything but KVREGISTER_OK or
 * KVREGISTER_TEXTTOOLONG, or the answers are used up. `wide` takes the W road. */
void KVCHostRun(int wide, const KVCAnswer* answers, int count, HWND owner, KVCRun* run);

#ifdef __cplusplus
}
#endif

#endif /* KVCHOST_H */
