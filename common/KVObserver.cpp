#include "KVObserver.h"

KVObservable::~KVObservable() { observers_.clear(); }

void KVObservable::AddObserver(KVObserver* observer) {
    if (observer != nullptr) observers_.insert(observer);
}

uint32_t KVObservable::RemoveObserver(KVObserver* observer) {
    return static_cast<uint32_t>(observers_.erase(observer));
}

void KVObservable::RemoveAllObservers() { observers_.clear(); }

uint32_t KVObservable::GetObserverCount() const { return static_cast<uint32_t>(observers_.size()); }

void KVObservable::NotifyObservers(KVNotifyObject* record) {
    for (KVObserver* observer : observers_) observer->Update(this, record);
}
