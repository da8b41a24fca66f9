#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "common/KVObserver.h"

namespace {

struct Call {
    int observer;
    KVObservable* sender;
    KVNotifyObject* record;
    uint32_t kind;
    uint32_t code;
    std::thread::id thread;
};

class RecordingObserver : public KVObserver {
public:
    void Bind(int id, std::vector<Call>* calls) {
        id_ = id;
        calls_ = calls;
    }
    void Update(KVObservable* sender, KVNotifyObject* record) override {
        calls_->push_back({id_, sender, record, record->kind, record->code, std::this_thread::get_id()});
        record->answer = 100 + static_cast<uint32_t>(id_);
    }

private:
    int id_ = 0;
    std::vector<Call>* calls_ = nullptr;
};

class Model : public KVObservable {};

class KVObservableTest : public ::testing::Test {
protected:
    KVObservableTest() {
        // An array's elements lie at ascending addresses: observers_[0] is the lowest.
        for (int i = 0; i < 3; ++i) observers_[i].Bind(i, &calls_);
    }

    std::vector<int> NotifiedOrder(uint32_t code) {
        calls_.clear();
        KVNotifyObject record(code);
        model_.NotifyObservers(&record);
        std::vector<int> order;
        for (const Call& call : calls_) order.push_back(call.observer);
        return order;
    }

    Model model_;
    RecordingObserver observers_[3];
    std::vector<Call> calls_;
};

}  // namespace

TEST_F(KVObservableTest, NotifiesInAddressOrderNotRegistrationOrder) {
    model_.AddObserver(&observers_[2]);
    model_.AddObserver(&observers_[0]);
    model_.AddObserver(&observers_[1]);
    EXPECT_EQ(NotifiedOrder(4), (std::vector<int>{0, 1, 2}));
}

TEST_F(KVObservableTest, EveryObserverSeesTheOneRecordOnTheCallersThread) {
    model_.AddObserver(&observers_[1]);
    model_.AddObserver(&observers_[0]);
    KVNotifyObject record(40);
    model_.NotifyObservers(&record);

    // Everything happened before NotifyObservers returned, on this thread, with the
    // sender's own record (not a copy): the answer written by the last observer is visible.
    ASSERT_EQ(calls_.size(), 2u);
    for (const Call& call : calls_) {
        EXPECT_EQ(call.sender, &model_);
        EXPECT_EQ(call.record, &record);
        EXPECT_EQ(call.kind, 1u);
        EXPECT_EQ(call.code, 40u);
        EXPECT_EQ(call.thread, std::this_thread::get_id());
    }
    EXPECT_EQ(record.answer, 101u);
}

TEST_F(KVObservableTest, AddingTwiceKeepsOneEntryAndOneRemovalTakesIt) {
    model_.AddObserver(&observers_[0]);
    model_.AddObserver(&observers_[0]);
    model_.AddObserver(nullptr);
    EXPECT_EQ(model_.GetObserverCount(), 1u);
    EXPECT_EQ(NotifiedOrder(1), (std::vector<int>{0}));

    EXPECT_EQ(model_.RemoveObserver(&observers_[0]), 1u);
    EXPECT_EQ(model_.RemoveObserver(&observers_[0]), 0u);
    EXPECT_EQ(model_.RemoveObserver(&observers_[1]), 0u);
    EXPECT_EQ(model_.GetObserverCount(), 0u);
    EXPECT_TRUE(NotifiedOrder(1).empty());
}

TEST_F(KVObservableTest, RemovingOneLeavesTheOthersAndRemoveAllEmpties) {
    for (RecordingObserver& observer : observers_) model_.AddObserver(&observer);
    EXPECT_EQ(model_.RemoveObserver(&observers_[1]), 1u);
    EXPECT_EQ(NotifiedOrder(2), (std::vector<int>{0, 2}));

    model_.RemoveAllObservers();
    EXPECT_EQ(model_.GetObserverCount(), 0u);
    EXPECT_TRUE(NotifiedOrder(2).empty());
}
