// Property values of analytics events: a map from key to typed value whose keys stay in byte-wise
// order, because the wire format writes members in exactly that order.
#ifndef ANALYTICS_OBJECT_NODE_H_
#define ANALYTICS_OBJECT_NODE_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace event_analytics {
namespace utils {

class ObjectNode {
 public:
  // The numbers are part of the model; keep them stable.
  enum ValueType {
    kNumber = 0,  // 64-bit integer
    kReal = 1,    // floating point
    kString = 2,
    kList = 3,      // list of strings
    kDateTime = 4,  // seconds since 1970 plus milliseconds
    kBool = 5,
    kObject = 6,  // nested ObjectNode
  };

  struct DateTime {
    int64_t seconds = 0;
    int milliseconds = 0;
  };

  class Value {
   public:
    Value() = default;
    static Value Number(int64_t v);
    static Value Real(double v);
    static Value String(std::string v);
    static Value List(std::vector<std::string> v);
    static Value Date(int64_t seconds, int milliseconds);
    static Value Bool(bool v);
    static Value Object(const ObjectNode& v);

    ValueType type() const { return type_; }
    int64_t number() const { return number_; }
    double real() const { return real_; }
    const std::string& string() const { return string_; }
    const std::vector<std::string>& list() const { return list_; }
    DateTime date_time() const { return date_time_; }
    bool boolean() const { return bool_; }
    // Never null for kObject values.
    const ObjectNode* object() const { return object_.get(); }

   private:
    ValueType type_ = kNumber;
    int64_t number_ = 0;
    double real_ = 0;
    bool bool_ = false;
    DateTime date_time_;
    std::string string_;
    std::vector<std::string> list_;
    // Nested nodes are immutable once stored, so copies of a node may share them.
    std::shared_ptr<const ObjectNode> object_;
  };

  // Byte-wise order: std::string compares its bytes as unsigned char.
  using Map = std::map<std::string, Value>;

  ObjectNode() = default;
  ObjectNode(const ObjectNode&) = default;
  ObjectNode& operator=(const ObjectNode&) = default;
  virtual ~ObjectNode() = default;

  // Each setter stores one value under the key, replacing what was there.
  void SetNumber(const std::string& key, int64_t value);
  void SetReal(const std::string& key, double value);
  void SetString(const std::string& key, const std::string& value);
  void SetList(const std::string& key, const std::vector<std::string>& value);
  void SetDateTime(const std::string& key, int64_t seconds, int milliseconds);
  void SetBool(const std::string& key, bool value);
  virtual void SetObject(const std::string& key, const ObjectNode& value);

  // Copies every value of `other` over this node (values of `other` win).
  void Merge(const ObjectNode& other);
  bool Remove(const std::string& key);
  const Value* Find(const std::string& key) const;
  bool empty() const { return values_.empty(); }
  size_t size() const { return values_.size(); }
  const Map& values() const { return values_; }

 protected:
  void Put(const std::string& key, Value value);

 private:
  Map values_;
};

}  // namespace utils

// The node that callers fill with event properties. String values must pass the string rule
// (refused ones are left out, with the reason on the standard error stream), and nested
// objects are ignored: the collector takes flat properties only.
class PropertiesNode : public utils::ObjectNode {
 public:
  // Return whether the value was stored.
  bool SetString(const std::string& key, const std::string& value);
  bool SetList(const std::string& key, const std::vector<std::string>& value);
  void SetObject(const std::string& key, const ObjectNode& value) override;
};

}  // namespace event_analytics

#endif  // ANALYTICS_OBJECT_NODE_H_
