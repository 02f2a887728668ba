#pragma once
// An in-memory INI file with private-profile semantics, recording the order
// in which keys were written.

#include "shared/ini_store.h"
#include "shared/struct_codec.h"

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace gm::test {

// The private-profile reading of stored values over any storage: a missing
// or empty integer is the fallback, texts are cut to the read buffer, struct
// values must pass their checksum. Writes of numbers and structs go through
// WriteText.
class IniValues : public IniStore {
  public:
    // The stored value of `key`, or nullptr.
    virtual const std::string* Find(const char* section, const char* key) const = 0;

    int32_t ReadInt(const char* section, const char* key, int32_t fallback) override {
        const std::string* v = Find(section, key);
        if (!v || v->empty())
            return fallback;
        return int32_t(std::strtol(v->c_str(), nullptr, 10));
    }
    std::string ReadText(const char* section, const char* key) override {
        const std::string* v = Find(section, key);
        return v ? v->substr(0, kIniTextBuffer - 1) : std::string();
    }
    bool ReadStruct(const char* section, const char* key, void* out, std::size_t size) override {
        const std::string* v = Find(section, key);
        return v && DecodeStruct(*v, out, size);
    }
    bool WriteInt(const char* section, const char* key, int32_t value) override {
        return WriteText(section, key, std::to_string(value));
    }
    bool WriteStruct(const char* section, const char* key, const void* data,
                     std::size_t size) override {
        return WriteText(section, key, EncodeStruct(data, size));
    }
};

class MemoryIni final : public IniValues {
  public:
    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::string> writeOrder;

    void Put(const std::string& section, const std::string& key, const std::string& value) {
        values[{section, key}] = value;
    }
    const std::string* Find(const char* section, const char* key) const override {
        auto it = values.find({section, key});
        return it == values.end() ? nullptr : &it->second;
    }
    bool WriteText(const char* section, const char* key, const std::string& value) override {
        Put(section, key, value);
        writeOrder.push_back(key);
        return true;
    }
};

} // namespace gm::test
