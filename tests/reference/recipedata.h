#pragma once

#include "platform/db/connection.h"

#include <QList>
#include <QString>

// Workshops, items and recipes shared by the recipe tests.
namespace RecipeData {

struct Material
{
    int key;
    const char* name;
    int unit;
    double price;
};

// Items 101-104 are materials; 201-203 can be products.
inline const QList<Material>& materials()
{
    static const QList<Material> list = {
        {101, "Дъска бук 20 мм, нерендосана, за плотове и крака на маси", 5, 24.6},
        {102, "Лепило ПВА", 2, 4.35},
        {103, "Винт 4x40", 1, 0.07},
        {104, "Лак за дърво", 2, 11.2},
        {201, "Маса трапезна, бук", 1, 0},
        {202, "Стол тапициран", 1, 0},
        {203, "Табуретка", 1, 0},
    };
    return list;
}

struct Line
{
    int product;  // NTIP_IZDELIE
    int material;
    double qty;
};

// Product 1 (item 201) of workshop 1 has three lines; product 2 (item 202) of workshop 2 none.
inline const QList<Line>& lines()
{
    static const QList<Line> list = {{1, 101, 1.25}, {1, 102, 0.3}, {1, 103, 16}};
    return list;
}

inline void seed(SQLConnection& db)
{
    for (const Material& m : materials())
        db.execute(QStringLiteral("insert into MATERIALI (NMATERIAL, IMEMATERIAL, NMIARKA, NSKLAD, ED_CENA) "
                                  "values (:K, :N, :U, 1, :P)"),
                   {{QStringLiteral("K"), m.key},
                    {QStringLiteral("N"), QString::fromUtf8(m.name)},
                    {QStringLiteral("U"), m.unit},
                    {QStringLiteral("P"), m.price}});
    const char* workshops[] = {"Дърводелски цех", "Тапицерски цех", "Бояджийски цех"};
    for (int i = 0; i < 3; ++i)
        db.execute(QStringLiteral("insert into TIP_PROIZVODSTVO (NPROIZVODSTVO, PROIZVODSTVO, PSEVDONIM_CEH) values (:K, :N, :P)"),
                   {{QStringLiteral("K"), i + 1},
                    {QStringLiteral("N"), QString::fromUtf8(workshops[i])},
                    {QStringLiteral("P"), QStringLiteral("Ц%1").arg(i + 1)}});
    db.execute(QStringLiteral("insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (1, 1, 201)"));
    db.execute(QStringLiteral("insert into TIP_IZDELIE (NTIP_IZDELIE, NPROIZVODSTVO, NMATERIAL_IZDELIE) values (2, 2, 202)"));
    for (const Line& l : lines())
        db.execute(QStringLiteral("insert into IZDELIE_RECEPTA (NTIP_IZDELIE, NMATERIAL, KOLICHESTVO) values (:T, :M, :Q)"),
                   {{QStringLiteral("T"), l.product}, {QStringLiteral("M"), l.material}, {QStringLiteral("Q"), l.qty}});
}

inline double price(int material)
{
    for (const Material& m : materials())
        if (m.key == material) return m.price;
    return 0;
}

// The value of one unit of a product's recipe.
inline double unitValue(int product)
{
    double sum = 0;
    for (const Line& l : lines())
        if (l.product == product) sum += price(l.material) * l.qty;
    return sum;
}

} // namespace RecipeData
