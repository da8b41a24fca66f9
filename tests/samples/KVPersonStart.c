/* Linked into a sample only by tools/lib/samples.sh: before the sample's main, on its main
 * thread (the host's), starts the person of KVSamplePerson.dll. */
#include <windows.h>

__attribute__((constructor)) static void KVStartPerson(void) {
    typedef void (*StartFn)(void);
    HMODULE person = LoadLibraryA("KVSamplePerson.dll");
    StartFn start = person ? (StartFn)(void (*)(void))GetProcAddress(person, "KVSamplePersonStart") : NULL;
    if (start) start();
}
