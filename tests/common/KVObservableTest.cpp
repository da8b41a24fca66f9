#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "common/KVObserver.h"

namespace {

class Model : public KVObservable {};

// Logs its number and answers with 100 + its number; checks what every call must hold.
class NumberedObserver : public KVObserver {
public:
    NumberedObserver(int number, std::vector<int>& log, KVObservable& sender)
        : number_(number), log_(log), sender_(sender) {}

    void Update(KVObservable* sender, KVNotifyObject* record) override {
        EXPECT_EQ(sender, &sender_);
        EXPECT_EQ(record->kind, 1u);
        EXPECT_EQ(std::this_thread::get_id(), notifyingThread_);
        log_.push_back(number_);
        record->answer = 100 + static_cast<uint32_t>(number_);
    }

private:
    int number_;
    std::vector<int>& log_;
    KVObservable& sender_;
    std::thread::id notifyingThread_ = std::this_thread::get_id();
};

class KVObservableTest : public ::testing::Test {
protected:
    std::vector<int> NotifiedOrder() {
        log_.clear();
        KVNotifyObject record(4);
        model_.NotifyObservers(&record);
        return log_;
    }

    Model model_;
    std::vector<int> log_;
    // An array's elements lie at ascending addresses: observers_[0] is the lowest.
    NumberedObserver observers_[3] = {{0, log_, model_}, {1, log_, model_}, {2, log_, model_}};
};

}  // namespace

TEST_F(KVObservableTest, NotifiesInAddressOrderNotRegistrationOrder) {
    model_.AddObserver(&observers_[2]);
    model_.AddObserver(&observers_[0]);
    model_.AddObserver(&observers_[1]);
    EXPECT_EQ(NotifiedOrder(), (std::vector<int>{0, 1, 2}));

    // Each observer gets the sender's own record, not a copy: the last answer is visible.
    KVNotifyObject record(40);
    model_.NotifyObservers(&record);
    EXPECT_EQ(record.answer, 102u);
}

TEST_F(KVObservableTest, EachObserverIsListedOnceUntilRemoved) {
    model_.AddObserver(&observers_[0]);
    model_.AddObserver(&observers_[0]);
    model_.AddObserver(nullptr);
    EXPECT_EQ(NotifiedOrder(), (std::vector<int>{0}));

    EXPECT_EQ(model_.RemoveObserver(&observers_[0]), 1u);
    EXPECT_EQ(model_.RemoveObserver(&observers_[0]), 0u);
    EXPECT_EQ(model_.RemoveObserver(&observers_[1]), 0u);
    EXPECT_TRUE(NotifiedOrder().empty());

    for (NumberedObserver& observer : observers_) model_.AddObserver(&observer);
    EXPECT_EQ(model_.RemoveObserver(&observers_[1]), 1u);
    EXPECT_EQ(NotifiedOrder(), (std::vector<int>{0, 2}));
    model_.RemoveAllObservers();
    EXPECT_EQ(model_.GetObserverCount(), 0u);
    EXPECT_TRUE(NotifiedOrder().empty());
}
