// How the wizard model tells the wizard window about changes.
//   KVNotifyObject  one notification: kind, code, and the answer an observer may give back
//   KVObserver      receives notifications
//   KVObservable    keeps its observers in address order and notifies them synchronously
#pragma once

#include <cstdint>
#include <set>

// Lives on the sender's stack for one NotifyObservers call; observers must not keep it.
class KVNotifyObject {
public:
    // Every notification of this system has this kind; receivers ignore any other.
    static constexpr uint32_t ModelKind = 1;

    explicit KVNotifyObject(uint32_t notifyCode) : code(notifyCode) {}
    virtual ~KVNotifyObject() = default;

    uint32_t kind = ModelKind;
    uint32_t code;
    // Filled in by an observer that asked the user something. Senders do not read it; it
    // starts at 0 only so that it never holds garbage.
    uint32_t answer = 0;
};

class KVObservable;

class KVObserver {
public:
    virtual void Update(KVObservable* sender, KVNotifyObject* record) = 0;

protected:
    // Observers are never deleted through this interface.
    ~KVObserver() = default;
};

// Does not own its observers. Not locked: observers are added and removed while no
// notification runs, and an observer must not add or remove observers from Update.
class KVObservable {
public:
    KVObservable() = default;
    KVObservable(const KVObservable&) = delete;
    KVObservable& operator=(const KVObservable&) = delete;

    // Adding an observer that is already present, or a null one, changes nothing.
    virtual void AddObserver(KVObserver* observer);
    // The number of entries removed: 1, or 0 when the observer was not present.
    virtual uint32_t RemoveObserver(KVObserver* observer);
    virtual void RemoveAllObservers();
    virtual uint32_t GetObserverCount() const;
    // Calls Update on each observer in ascending address order, on the calling thread,
    // and returns when the last one has returned.
    virtual void NotifyObservers(KVNotifyObject* record);

protected:
    // Not virtual: the model is never deleted through this base, which the protected
    // destructor enforces.
    ~KVObservable();

private:
    std::set<KVObserver*> observers_;
};
