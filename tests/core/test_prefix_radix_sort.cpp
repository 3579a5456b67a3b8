#include "core/prefix_radix_sort.h"
#include "core/tidy_steps.h"

#include <QTest>

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace {

// Items with 12 bytes of a key from `offset` on, zeros past its end; no key holds a zero.
struct Item {
    std::array<unsigned char, 12> bytes;
    quint32 id;
};

class KeySorting {
  public:
    static constexpr int kPrefixBytes = 12;
    explicit KeySorting(const std::vector<std::string>& keys) : keys_(keys) {}

    static unsigned byteAt(const Item& item, int depth) { return item.bytes[depth]; }
    void sortRun(Item* begin, Item* end) const {
        std::sort(begin, end, [this](const Item& a, const Item& b) {
            return std::tie(keys_[a.id], a.id) < std::tie(keys_[b.id], b.id);
        });
    }
    std::ptrdiff_t moveOn(Item* begin, Item* end, std::ptrdiff_t offset) const {
        const auto from = static_cast<size_t>(offset) + kPrefixBytes;
        if (std::all_of(begin, end,
                        [&](const Item& item) { return keys_[item.id].size() <= from; })) {
            sortRun(begin, end);
            return -1;
        }
        std::for_each(begin, end, [&](Item& item) { item = itemOf(item.id, from); });
        return static_cast<std::ptrdiff_t>(from);
    }
    void pause() const {}

    Item itemOf(quint32 id, size_t offset) const {
        Item item{{}, id};
        const std::string& key = keys_[id];
        if (offset < key.size()) {
            std::memcpy(item.bytes.data(), key.data() + offset,
                        std::min<size_t>(kPrefixBytes, key.size() - offset));
        }
        return item;
    }

  private:
    const std::vector<std::string>& keys_;
};

using Sort = tidy::PrefixRadixSort<Item, KeySorting>;

}  // namespace

class PrefixRadixSortTest : public QObject {
    Q_OBJECT
  private slots:
    void ordersAsAStableSort_data();
    void ordersAsAStableSort();
};

void PrefixRadixSortTest::ordersAsAStableSort_data() {
    // Group g's keys: byte 'A' + g, `shared` bytes all its keys have, then one of `distinct`
    // endings; the items in a shuffled order.
    QTest::addColumn<QList<int>>("groups");
    QTest::addColumn<int>("shared");
    QTest::addColumn<int>("distinct");
    const int direct = int(Sort::kSortDirectly);
    QTest::newRow("parts at the direct limit and past it")
        << QList<int>{direct, direct + 1, 1} << 0 << 100000;
    QTest::newRow("ties across the 12 bytes, split by later ones")
        << QList<int>{2000, 3} << 20 << 700;
    QTest::newRow("ties across 36 bytes") << QList<int>{1500} << 40 << 900;
    QTest::newRow("equal keys keep their order") << QList<int>{1000, 500} << 5 << 1;
    QTest::newRow("both threads share the parts") << QList<int>{150000, 70000} << 2 << 100000;
}

void PrefixRadixSortTest::ordersAsAStableSort() {
    QFETCH(QList<int>, groups);
    QFETCH(int, shared);
    QFETCH(int, distinct);

    std::vector<std::string> keys;
    for (int g = 0; g < groups.size(); ++g) {
        for (int i = 0; i < groups[g]; ++i) {
            const int ending = int(qint64(i) * 7919 % distinct);
            keys.push_back(char('A' + g) + std::string(size_t(shared), 'x') +
                           char(1 + ending / 40000) + char(1 + ending / 200 % 200) +
                           char(1 + ending % 200));
        }
    }
    std::shuffle(keys.begin(), keys.end(), std::mt19937(7));
    std::vector<quint32> expected(keys.size());
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](quint32 a, quint32 b) { return keys[a] < keys[b]; });

    KeySorting here(keys);
    KeySorting there(keys);
    std::vector<Item> items;
    for (quint32 id = 0; id < keys.size(); ++id) {
        items.push_back(here.itemOf(id, 0));
    }
    Sort::sort(items.data(), items.data() + items.size(), here, there,
               [](auto&& a, auto&& b) { tidy::runSideBySide(a, b); });
    std::vector<quint32> sorted;
    for (const Item& item : items) {
        sorted.push_back(item.id);
    }
    QVERIFY(sorted == expected);
}

QTEST_APPLESS_MAIN(PrefixRadixSortTest)
#include "test_prefix_radix_sort.moc"
