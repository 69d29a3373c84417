#include "activities.h"

namespace terravale {

namespace {
const QColor kYellowText(255, 255, 0);
const QColor kGreenText(0, 255, 0);
const QColor kLightCyan(128, 255, 255);
const QString kTahoma = QStringLiteral("Tahoma");
const QString kTimes = QStringLiteral("Times New Roman");
constexpr Qt::Alignment kCentre = Qt::AlignHCenter;
constexpr Qt::Alignment kLeft = Qt::AlignLeft;

using T = StaticTextDef;
} // namespace

const ActivityDef &rubbishlabDef()
{
    static const ActivityDef def{
        QStringLiteral("rubbishlab"), 1845, 375, 11.25, kCentre,
        {
            {QStringLiteral("Bottle Bank"), 8880, 2880, 3600, 2040},
            {QStringLiteral("Incinerator"), 9000, 7300, 5520, 2040},
            {QStringLiteral("Landfill"), 4560, 7300, 5520, 2520},
            {QStringLiteral("Clothes Bank"), 720, 5040, 3600, 2520},
        },
        {
            {QStringLiteral("Images\\bottlebank.jpg"), {7680, 120, 4200, 2940}},
            {QStringLiteral("Images\\clothesbank.jpg"), {0, 1560, 3285, 3600}},
            {QStringLiteral("Images\\incinerator.jpg"), {8040, 3660, 3660, 3585}},
            {QStringLiteral("Images\\landfill.jpg"), {3360, 3660, 4380, 3585}},
        },
        {
            {T::Label7, -1,
             QStringLiteral("Drag the labels into the correct boxes to label these ways of disposing of rubbish."),
             // Widened from 3705 at 3600 into the gap between the pictures: the last word wrapped to a
             // fourth line and was cut off.
             {3360, 840, 4260, 1065}, kTimes, 15.75, false, kYellowText, kCentre},
            {T::Label6, -1, QString(), {240, 240, 2145, 705}, kTimes, 24, false, kYellowText, kCentre},
        },
        std::nullopt,
    };
    return def;
}

const ActivityDef &resourceslabDef()
{
    static const ActivityDef def{
        QStringLiteral("resourceslab"), 2145, 915, 11.25, kCentre,
        {
            {QStringLiteral("Solar Power in the southern desert."), 8520, 4920, 120, 5880},
            {QStringLiteral("Tidal Power from a barrier across a harbour."), 7680, 2160, 2340, 5880},
            {QStringLiteral("Water Power on a river flowing from the mountains."), 7800, 720, 4560, 6840},
            {QStringLiteral("Wave Power produced far out at sea."), 480, 2160, 120, 6840},
            {QStringLiteral("Wind Power in the windy western hills."), 4440, 3360, 2340, 6840},
        },
        {
            {QStringLiteral("Images\\energy.jpg"), {-780, 0, 14985, 7500}},
        },
        {
            {T::Label7, -1,
             QStringLiteral("Label this imaginary island to show the regions where there are good alternative "
                            "energy sources."),
             {120, 4740, 4785, 1065}, kTimes, 15.75, false, kYellowText, kCentre},
            {T::Label6, -1, QString(), {240, 240, 2145, 705}, kTimes, 24, false, kYellowText, kCentre},
        },
        QColor(25, 50, 134),
    };
    return def;
}

const ActivityDef &rubbishordDef()
{
    static const ActivityDef def{
        QStringLiteral("rubbishord"), 4995, 495, 15.75, Qt::AlignRight,
        {
            {QStringLiteral("Animals can get trapped inside"), 240, 3240, 960, 6780},
            {QStringLiteral("Paper litter"), 240, 1320, 6000, 7320},
            {QStringLiteral("Broken bottles can cut people"), 240, 5160, 6000, 6780},
            {QStringLiteral("Animals sometimes die"), 240, 2280, 960, 7320},
            {QStringLiteral("Glass can start fires by acting"), 240, 4200, 3480, 6240},
        },
        {},
        {
            {T::Label5, 0, QStringLiteral("can easily catch fire."), {5400, 1380, 4695, 495}, kTahoma, 15.75, true,
             kYellowText, kLeft},
            {T::Label5, 1, QStringLiteral("if they eat wrappers or litter. "), {5400, 2340, 4695, 495}, kTahoma,
             15.75, true, kYellowText, kLeft},
            {T::Label5, 2, QStringLiteral("cans and containers left on the ground."), {5400, 3300, 6495, 495},
             kTahoma, 15.75, true, kYellowText, kLeft},
            {T::Label5, 3, QStringLiteral("as a magnifying glass in the sunshine."), {5400, 4260, 6615, 495},
             kTahoma, 15.75, true, kYellowText, kLeft},
            {T::Label5, 4, QStringLiteral("playing in sand or swimming in the sea. "), {5400, 5220, 6615, 495},
             kTahoma, 15.75, true, kYellowText, kLeft},
            {T::Label8, -1, QStringLiteral("Litter and rubbish cause many problems. Finish these statements. "),
             {4320, 120, 6825, 1065}, kTimes, 20.25, false, kGreenText, kCentre},
            {T::Label9, -1, QStringLiteral("Drag the labels into the correct boxes."), {120, 7920, 2625, 705},
             kTahoma, 12, true, kLightCyan, kCentre},
            {T::Label6, -1, QString(), {120, 120, 2265, 705}, kTimes, 24, false, kYellowText, kCentre},
        },
        std::nullopt,
    };
    return def;
}

const ActivityDef &resourcesordDef()
{
    static const ActivityDef def{
        QStringLiteral("resourcesord"), 2955, 675, 11.25, kCentre,
        {
            {QStringLiteral("The movement of air is used to generate power."), 2520, 1200, 7440, 5640},
            {QStringLiteral("Suitable for windy climates."), 2520, 2160, 7440, 6360},
            {QStringLiteral("Scenery may be spoilt by huge wind farms."), 2520, 3120, 7440, 7080},
            {QStringLiteral("Sunshine is used to generate power."), 5700, 1200, 4440, 5640},
            {QStringLiteral("Suitable for sunny climates."), 5700, 2160, 4440, 6360},
            {QStringLiteral("It makes no power at night."), 5700, 3120, 1440, 6360},
            {QStringLiteral("The flow of water is used to generate power."), 8880, 1200, 4440, 7080},
            {QStringLiteral("Suitable for wet and mountainous regions."), 8880, 2160, 1440, 5640},
            {QStringLiteral("Damming rivers can damage the environment."), 8880, 3120, 1440, 7080},
        },
        {},
        {
            {T::Label8, 1, QStringLiteral("Wind Power"), {2670, 600, 2835, 585}, kTahoma, 15.75, true, kYellowText,
             kCentre},
            {T::Label8, 2, QStringLiteral("Solar Power"), {5820, 600, 2835, 585}, kTahoma, 15.75, true, kYellowText,
             kCentre},
            {T::Label8, 3, QStringLiteral("Water Power"), {9030, 600, 2835, 585}, kTahoma, 15.75, true, kYellowText,
             kCentre},
            {T::Label8, 4, QStringLiteral("How the power is generated"), {120, 1200, 2355, 705}, kTahoma, 12, true,
             kYellowText, kCentre},
            {T::Label8, 5, QStringLiteral("Suitable areas for this power source"), {120, 2160, 2355, 675},
             kTahoma, 12, true, kYellowText, kCentre},
            {T::Label8, 6, QStringLiteral("Disadvantages of this power source"), {120, 3120, 2355, 705}, kTahoma, 12,
             true, kYellowText, kCentre},
            {T::Label8, 0,
             QStringLiteral("Much of our electricity is still made by burning fossil fuels such as gas, which "
                            "pollutes the air. Complete the table above about alternative power sources: wind, "
                            "water and solar power, which do not pollute the air."),
             {120, 4320, 11715, 1305}, kTimes, 18, false, kYellowText, kCentre},
            {T::Label6, -1, QString(), {240, 120, 4785, 705}, kTimes, 24, false, kYellowText, kLeft},
        },
        std::nullopt,
    };
    return def;
}

} // namespace terravale
