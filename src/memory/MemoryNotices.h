#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace vexlor::memory {

// What changed in the memory tables, and who changed it.
struct MemoryChange {
    enum class Kind {
        Channels,   // channels first..last
        IDs,        // slots first..last of bank
        Bank,       // the name or trunk type of bank
        Everything, // an import, a load: anything may have changed
    };
    Kind kind = Kind::Everything;
    int bank = 0;
    int first = 0;
    int last = 0;
    const void* source = nullptr; // the object that made the change; views skip their own

    static MemoryChange channels(int first, int last, const void* source) { return {Kind::Channels, 0, first, last, source}; }
    static MemoryChange ids(int bank, int first, int last, const void* source) { return {Kind::IDs, bank, first, last, source}; }
    static MemoryChange bankData(int bank, const void* source) { return {Kind::Bank, bank, 0, 0, source}; }
    static MemoryChange everything(const void* source) { return {Kind::Everything, 0, 0, 0, source}; }

    // Whether channel n, or slot s of bank b, or bank b's own data is part of the change.
    bool coversChannel(int n) const { return kind == Kind::Everything || (kind == Kind::Channels && n >= first && n <= last); }
    bool coversSlot(int b, int s) const
    {
        return kind == Kind::Everything || (kind == Kind::IDs && b == bank && s >= first && s <= last);
    }
    bool coversBankData(int b) const { return kind == Kind::Everything || (kind == Kind::Bank && b == bank); }
    // Anything of bank b (its channels 30(b-1)+1..30b, its IDs or its name and type).
    bool touchesBank(int b) const
    {
        const int firstChannel = 30 * (b - 1) + 1;
        return kind == Kind::Everything || bank == b
            || (kind == Kind::Channels && first <= firstChannel + 29 && last >= firstChannel);
    }
};

// The listeners of the tables. Held beside the tables' data and never copied
// with it: a copy of the tables is a value, not another owner.
class MemoryNotices {
public:
    using Listener = std::function<void(const MemoryChange&)>;
    // Listening lasts as long as the subscriber keeps this.
    using Subscription = std::shared_ptr<const Listener>;

    MemoryNotices() = default;
    MemoryNotices(const MemoryNotices&) {}
    MemoryNotices& operator=(const MemoryNotices&) { return *this; }
    friend bool operator==(const MemoryNotices&, const MemoryNotices&) { return true; }

    [[nodiscard]] Subscription subscribe(Listener listener) const
    {
        auto kept = std::make_shared<const Listener>(std::move(listener));
        m_listeners.push_back(kept);
        return kept;
    }

    void announce(const MemoryChange& change) const
    {
        // A listener may subscribe or drop its subscription while being told.
        const std::vector<std::weak_ptr<const Listener>> listeners = m_listeners;
        for (const auto& weak : listeners) {
            if (const auto listener = weak.lock())
                (*listener)(change);
        }
        std::erase_if(m_listeners, [](const auto& weak) { return weak.expired(); });
    }

private:
    mutable std::vector<std::weak_ptr<const Listener>> m_listeners;
};

} // namespace vexlor::memory
