#include "sample_bill_book.h"

#include <array>
#include <random>
#include <stdexcept>
#include <string>

#include "base/civil_date.h"
#include "billbook/bulk_recorder.h"
#include "billbook/exact_amount.h"

namespace tools {

namespace {

billbook::LocalTime TimeOnDay(long long day, int hour, int minute) {
  const base::CivilDate date = base::CivilFromDays(day);
  return {static_cast<int>(date.year),
          static_cast<int>(date.month),
          static_cast<int>(date.day),
          hour,
          minute,
          0};
}

// 20 family names and 15 kinds of yard: 300 buyers, each family name a twentieth of them,
// as the prefix filter sees them.
constexpr std::array<const char*, 20> kFamilies = {"张", "李", "王", "刘", "陈", "杨", "赵",
                                                   "黄", "周", "吴", "徐", "孙", "胡", "朱",
                                                   "高", "林", "何", "郭", "马", "罗"};
constexpr std::array<const char*, 15> kYards = {
    "记木业", "家建材", "氏板材",   "记木材加工厂", "家具厂", "兴建筑队", "老板",  "记装修",
    "家木门", "氏模板", "记托盘厂", "家包装",       "顺木业", "发建材",   "工程队"};
constexpr std::array<const char*, 6> kWoods = {"杉木", "松木", "桉木", "杨木", "樟子松", "落叶松"};
constexpr std::array<const char*, 4> kSellers = {"林场一队", "林场二队", "老陈山场", "外购"};

}  // namespace

void MakeSampleBillBook(const std::filesystem::path& file, const SampleBookShape& shape) {
  if (std::filesystem::exists(file)) {
    throw std::runtime_error("the book is there already: it is not written over");
  }
  std::mt19937 random(20261208);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const long long last =
      base::DaysFromCivil(shape.last_day / 10000, shape.last_day / 100 % 100, shape.last_day % 100);
  billbook::BulkRecorder bulk(file);
  for (long long day = last - shape.days + 1; day <= last; ++day) {
    for (int bill = 0; bill < shape.bills_per_day; ++bill) {
      billbook::BillContent content;
      content.buyer = std::string(kFamilies[static_cast<std::size_t>(pick(20))]) +
                      kYards[static_cast<std::size_t>(pick(15))];
      content.seller = kSellers[static_cast<std::size_t>(pick(4))];
      content.scaler = "老周";
      std::int64_t volume_e4 = 0, amount_fen = 0;
      for (billbook::Line& line : content.lines) {
        // Length in m, width and thickness in cm, pieces, m³, 元 per m³, 元.
        const int length = 2 + pick(5), width = 10 + 2 * pick(10), thick = 2 + pick(8);
        const int pieces = 1 + pick(60), price = 900 + 50 * pick(20);
        const std::int64_t line_e4 =
            static_cast<std::int64_t>(length) * width * thick * pieces;  // 100·1/100·1/100
        const std::int64_t line_fen = (line_e4 * price + 50) / 100;
        line = {kWoods[static_cast<std::size_t>(pick(6))],
                std::to_string(length),
                std::to_string(width),
                std::to_string(thick),
                std::to_string(pieces),
                billbook::ScaledText(line_e4, billbook::kVolumeDecimals),
                std::to_string(price),
                billbook::ScaledText(line_fen, billbook::kFenDecimals)};
        volume_e4 += line_e4;
        amount_fen += line_fen;
      }
      content.total_volume = billbook::ScaledText(volume_e4, billbook::kVolumeDecimals);
      content.total_amount = billbook::ScaledText(amount_fen, billbook::kFenDecimals);
      const int minutes = 7 * 60 + bill * 12;
      bulk.Add(content, {TimeOnDay(day, minutes / 60, minutes % 60), "收银台", "王会计"});
    }
    if ((day - last) % 100 == 0) bulk.Commit();
  }
  bulk.Commit();
}

}  // namespace tools
