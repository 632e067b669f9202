#include "analytics/object_node.h"

#include <utility>

#include "analytics/property_rules.h"

namespace event_analytics {
namespace utils {

ObjectNode::Value ObjectNode::Value::Number(int64_t v) {
  Value out;
  out.type_ = kNumber;
  out.number_ = v;
  return out;
}

ObjectNode::Value ObjectNode::Value::Real(double v) {
  Value out;
  out.type_ = kReal;
  out.real_ = v;
  return out;
}

ObjectNode::Value ObjectNode::Value::String(std::string v) {
  Value out;
  out.type_ = kString;
  out.string_ = std::move(v);
  return out;
}

ObjectNode::Value ObjectNode::Value::List(std::vector<std::string> v) {
  Value out;
  out.type_ = kList;
  out.list_ = std::move(v);
  return out;
}

ObjectNode::Value ObjectNode::Value::Date(int64_t seconds, int milliseconds) {
  Value out;
  out.type_ = kDateTime;
  out.date_time_.seconds = seconds;
  out.date_time_.milliseconds = milliseconds;
  return out;
}

ObjectNode::Value ObjectNode::Value::Bool(bool v) {
  Value out;
  out.type_ = kBool;
  out.bool_ = v;
  return out;
}

ObjectNode::Value ObjectNode::Value::Object(const ObjectNode& v) {
  Value out;
  out.type_ = kObject;
  // Store a plain ObjectNode copy: the nested node keeps its values, not the caller's type.
  out.object_ = std::make_shared<const ObjectNode>(v);
  return out;
}

void ObjectNode::Put(const std::string& key, Value value) {
  values_[key] = std::move(value);
}

void ObjectNode::SetNumber(const std::string& key, int64_t value) {
  Put(key, Value::Number(value));
}

void ObjectNode::SetReal(const std::string& key, double value) {
  Put(key, Value::Real(value));
}

void ObjectNode::SetString(const std::string& key, const std::string& value) {
  Put(key, Value::String(value));
}

void ObjectNode::SetList(const std::string& key, const std::vector<std::string>& value) {
  Put(key, Value::List(value));
}

void ObjectNode::SetDateTime(const std::string& key, int64_t seconds, int milliseconds) {
  Put(key, Value::Date(seconds, milliseconds));
}

void ObjectNode::SetBool(const std::string& key, bool value) {
  Put(key, Value::Bool(value));
}

void ObjectNode::SetObject(const std::string& key, const ObjectNode& value) {
  Put(key, Value::Object(value));
}

void ObjectNode::Merge(const ObjectNode& other) {
  if (&other == this) return;
  for (const auto& entry : other.values_) values_[entry.first] = entry.second;
}

bool ObjectNode::Remove(const std::string& key) {
  return values_.erase(key) != 0;
}

const ObjectNode::Value* ObjectNode::Find(const std::string& key) const {
  auto it = values_.find(key);
  return it == values_.end() ? nullptr : &it->second;
}

}  // namespace utils

bool PropertiesNode::SetString(const std::string& key, const std::string& value) {
  if (!CheckStringValue(key, value)) return false;
  Put(key, Value::String(value));
  return true;
}

bool PropertiesNode::SetList(const std::string& key, const std::vector<std::string>& value) {
  // Every element travels as a JSON string, so each must pass the same rule; one bad element
  // leaves the whole list out rather than sending a list the caller did not make.
  for (const std::string& item : value) {
    if (!CheckStringValue(key, item)) return false;
  }
  Put(key, Value::List(value));
  return true;
}

void PropertiesNode::SetObject(const std::string&, const ObjectNode&) {}

}  // namespace event_analytics
