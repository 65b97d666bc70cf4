// A guard that keeps what a test does to data tables inside the test: it copies the tables
// when made and puts the copies back when it goes.
#pragma once

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "expr/data_table.h"

namespace toven::test_support {

class ScopedTables {
  public:
    explicit ScopedTables(std::initializer_list<std::reference_wrapper<DataTable>> tables) {
        for (DataTable& table : tables) {
            saved_.emplace_back(table, table);
        }
    }
    ~ScopedTables() {
        for (auto& [table, copy] : saved_) {
            table.get() = copy;
        }
    }
    ScopedTables(const ScopedTables&) = delete;
    ScopedTables& operator=(const ScopedTables&) = delete;

  private:
    std::vector<std::pair<std::reference_wrapper<DataTable>, DataTable>> saved_;
};

}  // namespace toven::test_support
