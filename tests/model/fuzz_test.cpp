#include "test_support.h"

#include "core/error.h"
#include "model/odometer.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace fb;
using namespace fb::test;

// Damaged files must end the load with an error, never with a crash or a hang: cut a valid
// file at every length and flip bytes at random (fixed seed, so failures repeat).
TEST(DamagedFiles, TruncationsAndByteFlipsNeverCrash)
{
    Logbook sample;
    fillSample(sample);
    sample.trips.append(Row{QStringLiteral("x"), QStringList(11, QStringLiteral("y"))});
    const QByteArray valid = toBytes(sample);

    const auto tryLoad = [](const QByteArray &bytes) {
        Logbook logbook;
        try {
            readBytes(bytes, logbook);
            UpdateKMSTands(logbook);
        } catch (const Error &) {
        }
    };

    for (qsizetype length = 0; length < valid.size(); ++length)
        tryLoad(valid.left(length));

    QRandomGenerator random(20261208);
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = valid;
        const int flips = 1 + random.bounded(4);
        for (int i = 0; i < flips; ++i) {
            const auto position = random.bounded(static_cast<int>(damaged.size()));
            damaged[position] = static_cast<char>(random.bounded(256));
        }
        tryLoad(damaged.left(random.bounded(static_cast<int>(damaged.size()) + 1)));
    }
    SUCCEED();
}
