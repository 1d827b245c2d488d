// SPDX-License-Identifier: GPL-3.0-or-later
// How often the code page guess names the page a tag was written in, on
// Russian artists, titles and albums stored in Windows-1251, KOI8-R and
// CP866, and on West-European names stored in Latin-1 (which Morvik reads
// as Windows-1251); per field and per record (artist, title and album
// together). And what a guess costs. The strings are not the model's: it
// was written from the rules of Russian spelling, not fitted to them.
#include "CodepageGuess.h"
#include "CodepageTesting.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using testing_support::StoredAs;

struct Song {
    const char* artist;
    const char* title;
    const char* album;
};

const std::vector<Song> kRussian = {
    {"Кино", "Группа крови", "Группа крови"},
    {"Кино", "Звезда по имени Солнце", "Звезда по имени Солнце"},
    {"Кино", "Перемен", "Последний герой"},
    {"Кино", "Кукушка", "Чёрный альбом"},
    {"Аквариум", "Город золотой", "Десять стрел"},
    {"Аквариум", "Поезд в огне", "Равноденствие"},
    {"ДДТ", "Что такое осень", "Актриса Весна"},
    {"ДДТ", "Родина", "Пластун"},
    {"Наутилус Помпилиус", "Я хочу быть с тобой", "Князь тишины"},
    {"Наутилус Помпилиус", "Скованные одной цепью", "Разлука"},
    {"Машина времени", "Поворот", "Кого ты хотел удивить"},
    {"Машина времени", "Марионетки", "Это было так давно"},
    {"Алиса", "Моё поколение", "Шестой лесничий"},
    {"Алиса", "Трасса Е95", "Шабаш"},
    {"Сплин", "Выхода нет", "Новые люди"},
    {"Сплин", "Орбит без сахара", "Фонарь под глазом"},
    {"Земфира", "Искала", "Прости меня моя любовь"},
    {"земфира", "хочешь", "прости меня моя любовь"},
    {"Мумий Тролль", "Владивосток 2000", "Морская"},
    {"Мумий Тролль", "Утекай", "Морская"},
    {"Би-2", "Полковнику никто не пишет", "Би-2"},
    {"Агата Кристи", "Как на войне", "Позорная звезда"},
    {"Агата Кристи", "Сказочная тайга", "Опиум"},
    {"Чайф", "Аргентина - Ямайка 5:0", "Шекогали"},
    {"Любэ", "Комбат", "Комбат"},
    {"Любэ", "Конь", "Песни о людях"},
    {"Ленинград", "Мне бы в небо", "Пираты XXI века"},
    {"Король и Шут", "Кукла колдуна", "Акустический альбом"},
    {"Король и Шут", "Лесник", "Будь как дома, путник"},
    {"Гражданская оборона", "Всё идёт по плану", "Всё идёт по плану"},
    {"Пикник", "Египтянин", "Египтянин"},
    {"Браво", "Жёлтые ботинки", "Браво"},
    {"Секрет", "Моя любовь на пятом этаже", "Секрет"},
    {"Зоопарк", "Пригородный блюз", "Уездный город N"},
    {"Ночные снайперы", "Катастрофически", "Цунами"},
    {"Чиж и Ко", "Перекрёсток", "Перекрёсток"},
    {"Танцы минус", "Половинка", "Флора и фауна"},
    {"Смысловые галлюцинации", "Вечно молодой", "Зачем снятся сны"},
    {"Високосный год", "Тихий огонёк", "Тихий огонёк"},
    {"Сектор газа", "Лирика", "Ночь перед Рождеством"},
    {"Калинов мост", "Сказка", "Покориться весне"},
    {"Крематорий", "Катманду", "Текиловая пустыня"},
    {"Воскресение", "Кто виноват", "Воскресение"},
    {"Аукцыон", "Дорога", "Птица"},
    {"Колибри", "Маленькие трагедии", "Манера поведения"},
    {"Алла Пугачёва", "Миллион алых роз", "Как тревожен этот путь"},
    {"Владимир Высоцкий", "Кони привередливые", "Сыновья уходят в бой"},
    {"Булат Окуджава", "Молитва", "Песни Булата Окуджавы"},
    {"Валерий Леонтьев", "Дельтаплан", "Внимание"},
    {"София Ротару", "Лаванда", "Лаванда"},
    {"Андрей Макаревич", "Старая песня", "Песни под гитару"},
    {"Борис Гребенщиков", "Серебро Господа моего", "Русский альбом"},
    {"Виктор Цой", "Спокойная ночь", "Легенды русского рока"},
    {"Юрий Шевчук", "Осенняя", "Лучшие песни"},
    {"Константин Кинчев", "Небо славян", "Солнцеворот"},
    {"Вячеслав Бутусов", "Песня идущего домой", "Элизобарра-торр"},
    {"Александр Башлачёв", "Время колокольчиков", "Вечный пост"},
    {"Янка Дягилева", "Домой", "Ангедония"},
    {"Егор Летов", "Русское поле экспериментов", "Русское поле экспериментов"},
    {"Майк Науменко", "Дрянь", "Сладкая N и другие"},
    {"Пётр Мамонов", "Досвидания", "Простые вещи"},
    {"Дельфин", "Я буду жить", "Звезда"},
    {"Ляпис Трубецкой", "Яблоки", "Ты кинула"},
    {"Несчастный случай", "Что ты имела в виду", "Тоннель в конце света"},
    {"Чёрный кофе", "Владимирская Русь", "Переступи порог"},
    {"Песняры", "Беловежская пуща", "Песняры"},
    {"Цветы", "Звёздочка моя ясная", "Цветы"},
    {"Самоцветы", "Мой адрес Советский Союз", "Самоцветы"},
    {"Земляне", "Трава у дома", "Земляне"},
    {"Ласковый май", "Белые розы", "Ласковый май"},
    {"Мираж", "Музыка нас связала", "Звёзды нас ждут"},
    {"Технология", "Нажми на кнопку", "Всё, что ты хочешь"},
    {"Руки вверх", "Крошка моя", "Сделай погромче"},
    {"Иванушки", "Тучи", "Колечко"},
    {"Отпетые мошенники", "Люби меня, люби", "Отпетые мошенники"},
    {"Дюна", "Страна Лимония", "Дюна"},
    {"Парк Горького", "Моя любовь", "Парк Горького"},
    {"Чёрный обелиск", "Стена", "Стена"},
    {"Мастер", "Война", "Мастер"},
    {"Кипелов", "Я свободен", "Путь наверх"},
    {"АРИЯ", "БЕСПЕЧНЫЙ АНГЕЛ", "ХИМЕРА"},
    {"Ария", "Штиль", "Химера"},
    {"Эпидемия", "Всадник из льда", "Эльфийская рукопись"},
    {"Пилот", "Тюрьма", "Деньги"},
    {"Тараканы", "Я смотрю на них", "Улица Свободы"},
    {"Звери", "Всё, что касается", "Районы-кварталы"},
    {"Каста", "Вокруг шум", "Громче воды, выше травы"},
    {"Сплин", "Романс", "Гранатовый альбом"},
    {"Ночные снайперы", "Ты дарила мне розы", "Детский лепет"},
    {"Лесоповал", "Я куплю тебе дом", "Лесоповал"},
    {"Михаил Круг", "Владимирский централ", "Мадам"},
    {"Ирина Аллегрова", "Транзитный пассажир", "Императрица"},
    {"Лариса Долина", "Погода в доме", "Погода в доме"},
    {"Игорь Тальков", "Чистые пруды", "Чистые пруды"},
    {"Александр Розенбаум", "Вальс-бостон", "Эпитафия"},
    {"Олег Газманов", "Есаул", "Эскадрон"},
    {"Вопли Видоплясова", "Весна", "Кралечка"},
    {"Океан Ельзи", "Там, де нас нема", "Там, де нас нема"},
    {"аквариум", "сайгон", "лилит"},
    {"Кино", "Пачка сигарет", "Звезда по имени Солнце"},
    {"ДДТ", "Это всё", "Это всё"},
    {"Гражданская оборона", "Моя оборона", "Русское поле экспериментов"},
    {"Мельница", "Ночная кобыла", "Дорога сна"},
    {"Пикник", "Фиолетово-чёрный", "Фиолетово-чёрный"},
    {"Наутилус Помпилиус", "Прогулки по воде", "Крылья"},
    {"Ундервуд", "Гагарин, я вас любила", "Вселенная плюс"},
    {"Зоопарк", "Белая ночь", "Белая полоса"},
};

const std::vector<Song> kLatin1 = {
    {"Björk", "Jóga", "Homogenic"},
    {"Motörhead", "Ace of Spades", "Ace of Spades"},
    {"Sigur Rós", "Hoppípolla", "Takk..."},
    {"Mötley Crüe", "Kickstart My Heart", "Dr. Feelgood"},
    {"Blue Öyster Cult", "Don't Fear the Reaper", "Agents of Fortune"},
    {"Édith Piaf", "Non, je ne regrette rien", "La vie en rose"},
    {"Françoise Hardy", "Tous les garçons et les filles", "Françoise Hardy"},
    {"Mylène Farmer", "Désenchantée", "L'autre..."},
    {"Die Ärzte", "Schrei nach Liebe", "Die Bestie in Menschengestalt"},
    {"Herbert Grönemeyer", "Männer", "4630 Bochum"},
    {"Röyksopp", "Eple", "Melody A.M."},
    {"Queensrÿche", "Silent Lucidity", "Empire"},
    {"Maná", "Rayando el sol", "¿Dónde jugarán los niños?"},
    {"Joaquín Sabina", "Y nos dieron las diez", "Física y química"},
    {"Caetano Veloso", "Coração vagabundo", "Domingo"},
    {"Céline Dion", "Pour que tu m'aimes encore", "D'eux"},
    {"Jacques Brel", "La valse à mille temps", "La valse à mille temps"},
    {"Charles Aznavour", "La bohème", "La bohème"},
    {"Einstürzende Neubauten", "Halber Mensch", "Halber Mensch"},
    {"Sigur Rós", "Svefn-g-englar", "Ágætis byrjun"},
    {"Beyoncé", "Halo", "I Am... Sasha Fierce"},
    {"Tiësto", "Adagio for Strings", "Just Be"},
};

struct Count {
    int right = 0, unsure = 0, wrong = 0, wrongUnsure = 0, none = 0;
    int total() const { return right + wrong + none; }
    void Add(const Core::CodepageGuess& guess, Core::TextCodepage expected)
    {
        if (guess.codepage == expected) {
            ++right;
            unsure += guess.unsure;
        } else if (guess.codepage == Core::TextCodepage::None) {
            ++none;
        } else {
            ++wrong;
            wrongUnsure += guess.unsure;
        }
    }
    void Print(const char* what) const
    {
        std::printf("  %-8s %4d of %4d right (%5.1f%%, %d of them unsure), %d wrong (%d unsure), %d no guess\n", what,
                    right, total(), 100.0 * right / total(), unsure, wrong, wrongUnsure, none);
    }
};

constexpr std::pair<StoredAs, Core::TextCodepage> kPages[] = {
    {StoredAs::Windows1251, Core::TextCodepage::Windows1251},
    {StoredAs::Koi8R, Core::TextCodepage::Koi8R},
    {StoredAs::Cp866, Core::TextCodepage::Cp866},
};

struct Stored {
    std::string artist, title, album;
    Core::TextCodepage expected;
};

std::vector<Stored> StoreAll()
{
    std::vector<Stored> all;
    for (const auto& [page, expected] : kPages)
        for (const Song& s : kRussian)
            all.push_back({StoreIn(page, s.artist), StoreIn(page, s.title), StoreIn(page, s.album), expected});
    for (const Song& s : kLatin1)
        all.push_back({StoreIn(StoredAs::Latin1, s.artist), StoreIn(StoredAs::Latin1, s.title),
                       StoreIn(StoredAs::Latin1, s.album), Core::TextCodepage::Latin1});
    return all;
}

bool HasHighByte(const std::string& text)
{
    for (const char b : text)
        if (static_cast<unsigned char>(b) >= 0x80)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const bool verbose = argc > 1 && std::string_view(argv[1]) == "-v";
    const std::vector<Stored> all = StoreAll();
    const char* names[] = {"Windows-1251", "KOI8-R", "CP866", "Latin-1"};
    std::printf("%zu Russian records in each of three code pages, %zu Latin-1 records\n", kRussian.size(),
                kLatin1.size());
    Count fieldsAll, recordsAll;
    for (int p = 0; p < 4; ++p) {
        const auto expected = static_cast<Core::TextCodepage>(p + 1);
        Count fields, records;
        for (const Stored& s : all) {
            if (s.expected != expected)
                continue;
            for (const std::string* text : {&s.artist, &s.title, &s.album}) {
                if (!HasHighByte(*text))
                    continue; // plain ASCII: rightly no guess, and nothing to count
                const std::string_view view = *text;
                const auto guess = Core::GuessCodepage(std::span(&view, 1));
                fields.Add(guess, expected);
                fieldsAll.Add(guess, expected);
                if (verbose && guess.codepage != expected)
                    std::printf("    field  %s: %s -> %s%s\n", names[p], Quenlar::Codepage::Decode(*text).c_str(),
                                std::string(Core::CodepageName(guess.codepage)).c_str(),
                                guess.unsure ? " (unsure)" : "");
            }
            const std::string_view texts[] = {s.artist, s.title, s.album};
            const auto guess = Core::GuessCodepage(texts);
            records.Add(guess, expected);
            recordsAll.Add(guess, expected);
            if (verbose && guess.codepage != expected)
                std::printf("    record %s: %s / %s -> %s%s\n", names[p], Quenlar::Codepage::Decode(s.artist).c_str(),
                            Quenlar::Codepage::Decode(s.title).c_str(),
                            std::string(Core::CodepageName(guess.codepage)).c_str(), guess.unsure ? " (unsure)" : "");
        }
        std::printf("%s\n", names[p]);
        fields.Print("fields");
        records.Print("records");
    }
    std::printf("All\n");
    fieldsAll.Print("fields");
    recordsAll.Print("records");

    // The cost of one record's guess, from the best of a few rounds.
    constexpr int kRounds = 5, kRepeats = 200;
    double best = 1e9;
    int sink = 0;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int k = 0; k < kRepeats; ++k)
            for (const Stored& s : all) {
                const std::string_view texts[] = {s.artist, s.title, s.album};
                sink += static_cast<int>(Core::GuessCodepage(texts).codepage);
            }
        const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count() / (kRepeats * all.size()));
    }
    std::printf("guess per record: %.2f us (checksum %d)\n", best, sink);
    return 0;
}
