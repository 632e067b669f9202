#include "runtime/observer_list.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace base {
namespace {

class Observer {
 public:
  virtual ~Observer() {}
  virtual void Notify() = 0;
};

typedef ObserverListBase<Observer> List;

// Records its visit, then changes the list the way the test asks.
class Changer : public Observer {
 public:
  Changer(std::vector<std::string>* visits, std::string name) : visits_(visits), name_(std::move(name)) {}
  void Notify() override {
    visits_->push_back(name_);
    if (list && remove) list->RemoveObserver(remove);
    if (list && add) list->AddObserver(add);
    if (destroy) destroy->reset();
    add = nullptr;
  }
  List* list = nullptr;
  Observer* remove = nullptr;
  Observer* add = nullptr;
  std::unique_ptr<List>* destroy = nullptr;

 private:
  std::vector<std::string>* visits_;
  std::string name_;
};

std::vector<std::string> NotifyAll(List& list, std::vector<std::string>& visits) {
  visits.clear();
  List::Iterator it(list);
  while (Observer* o = it.GetNext()) o->Notify();
  return visits;
}

TEST(ObserverListTest, ChangesDuringANotification) {
  std::vector<std::string> visits;
  struct Case {
    const char* name;
    // Who b removes / adds during the first round.
    int removes;  // -1 none, else index into a, b, c, d
    bool adds_d;
    std::vector<std::string> first_round;
    std::vector<std::string> second_round;
  } cases[] = {
      {"b removes itself", 1, false, {"a", "b", "c"}, {"a", "c"}},
      {"b removes a, already visited", 0, false, {"a", "b", "c"}, {"b", "c"}},
      {"b removes c, not yet visited", 2, false, {"a", "b"}, {"a", "b"}},
      {"b adds d: visited in the same round", -1, true, {"a", "b", "c", "d"}, {"a", "b", "c", "d"}},
  };
  for (const Case& c : cases) {
    List list;
    Changer a(&visits, "a"), b(&visits, "b"), cc(&visits, "c"), d(&visits, "d");
    Observer* all[] = {&a, &b, &cc, &d};
    list.AddObserver(&a);
    list.AddObserver(&b);
    list.AddObserver(&cc);
    list.AddObserver(&a);  // already present: not added twice
    b.list = &list;
    if (c.removes >= 0) b.remove = all[c.removes];
    if (c.adds_d) b.add = &d;
    EXPECT_EQ(c.first_round, NotifyAll(list, visits)) << c.name;
    b.remove = nullptr;
    EXPECT_EQ(c.second_round, NotifyAll(list, visits)) << c.name;
  }
}

TEST(ObserverListTest, IterationStopsWhenTheListIsDestroyed) {
  std::vector<std::string> visits;
  std::unique_ptr<List> list(new List);
  Changer a(&visits, "a"), b(&visits, "b"), c(&visits, "c");
  a.destroy = nullptr;
  b.destroy = &list;
  list->AddObserver(&a);
  list->AddObserver(&b);
  list->AddObserver(&c);
  {
    List::Iterator it(*list);
    while (Observer* o = it.GetNext()) o->Notify();
  }  // the iterator outlives the list without touching it
  EXPECT_EQ((std::vector<std::string>{"a", "b"}), visits);
}

TEST(ObserverListTest, ManyRemovalsDuringANotificationDoNotSkipAnyone) {
  // Past 128 removals the array is compacted; doing that under a running iteration would shift
  // the remaining observers below its position.
  std::vector<std::string> visits;
  List list;
  std::vector<std::unique_ptr<Changer>> early;
  for (int i = 0; i < 200; ++i) {
    early.emplace_back(new Changer(&visits, "early"));
    list.AddObserver(early.back().get());
  }
  class RemoveAll : public Observer {
   public:
    RemoveAll(List* list, std::vector<std::unique_ptr<Changer>>* victims) : list_(list), victims_(victims) {}
    void Notify() override {
      for (auto& v : *victims_) list_->RemoveObserver(v.get());
    }

   private:
    List* list_;
    std::vector<std::unique_ptr<Changer>>* victims_;
  } remover(&list, &early);
  Changer last1(&visits, "last1"), last2(&visits, "last2");
  list.AddObserver(&remover);
  list.AddObserver(&last1);
  list.AddObserver(&last2);

  visits.clear();
  {
    List::Iterator it(list);
    // Skip past the early ones without notifying them; then the remover strikes.
    while (Observer* o = it.GetNext()) {
      if (o == &remover || o == &last1 || o == &last2) o->Notify();
    }
  }
  EXPECT_EQ((std::vector<std::string>{"last1", "last2"}), visits);
  EXPECT_EQ(3u, list.size());
  EXPECT_EQ((std::vector<std::string>{"last1", "last2"}), NotifyAll(list, visits));
}

}  // namespace
}  // namespace base
