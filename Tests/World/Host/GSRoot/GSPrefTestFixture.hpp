#pragma once

#include "GSPref.hpp"
#include "HostTestSupport.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// A fresh store folder per test, holding whatever hive files the test writes into it.
class GSPrefStoreTest : public ::testing::Test {
protected:
    GSPrefStoreTest() { GSPref::SetStoreFolder(folder.Utf8().c_str()); }
    ~GSPrefStoreTest() override { GSPref::SetStoreFolder(""); }

    static std::string Hive(const std::string& body) {
        return "Windows Registry Editor Version 5.00\n\n" + body;
    }

    void WriteLocalMachine(const std::string& body) const {
        folder.WriteFile("LocalMachine.reg", Hive(body));
    }

    // The names that EnumerateSubKeys reports, in order.
    static std::vector<std::string> SubKeys(GSPref::IRoot& root, const char* keyPath,
                                            GSErrCode* code = nullptr) {
        class Collector : public GSPref::SubKeyVisitor {
        public:
            explicit Collector(std::vector<std::string>& target) : names(target) {}
            void operator()(const GS::UniString& name) const override {
                names.push_back(name.ToUTF8().Get());
            }

        private:
            std::vector<std::string>& names;
        };
        std::vector<std::string> names;
        const GSErrCode result = root.EnumerateSubKeys(keyPath, Collector(names));
        if (code != nullptr) {
            *code = result;
        }
        return names;
    }

    static std::string ReadString(GSPref::IRoot& root, const char* keyPath, const char* valueName,
                                  GSErrCode* code = nullptr) {
        GS::UniString value;
        const GSErrCode result = root.ReadStringValue(keyPath, valueName, value, value, 0);
        if (code != nullptr) {
            *code = result;
        }
        return value.ToUTF8().Get();
    }

    HostTestSupport::TempFolder folder;
};
