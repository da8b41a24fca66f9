#include "QCriticalSection.h"

// None of these calls reports a failure on the systems we run on (since Vista the
// initialisation cannot fail and entering never raises), so there is nothing to check.
QCriticalSection::QCriticalSection() { ::InitializeCriticalSection(&section_); }

QCriticalSection::~QCriticalSection() { ::DeleteCriticalSection(&section_); }

void QCriticalSection::Enter() { ::EnterCriticalSection(&section_); }

void QCriticalSection::Leave() { ::LeaveCriticalSection(&section_); }
