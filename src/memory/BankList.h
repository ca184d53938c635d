#pragma once

#include <array>
#include <cstddef>

namespace vexlor::memory {

// One value per frequency bank 1..10 (index 0 exists and is unused). Indexes
// outside the list read as a default value and writes to them are dropped,
// because they come straight from receiver replies and files.
template <typename T>
class BankList {
public:
    static constexpr int kSize = 11;

    static bool contains(int bank) { return bank >= 0 && bank < kSize; }

    const T& at(int bank) const
    {
        static const T none {};
        return contains(bank) ? m_values[std::size_t(bank)] : none;
    }
    const T& operator[](int bank) const { return at(bank); }

    void set(int bank, const T& value)
    {
        if (contains(bank))
            m_values[std::size_t(bank)] = value;
    }

    void fill(const T& value) { m_values.fill(value); }

    friend bool operator==(const BankList&, const BankList&) = default;

private:
    std::array<T, kSize> m_values {};
};

} // namespace vexlor::memory
