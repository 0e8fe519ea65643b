#include "tools/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

namespace gasmixer {
namespace {

QJsonObject Parsed(const JsonObjectWriter& writer)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(writer.Text()), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << writer.Text();
    return doc.object();
}

TEST(JsonWriter, TextsSurviveEscaping)
{
    const std::string tricky[] = {"plain",       "\"quoted\"",      "back\\slash", "tab\tnew\nline\r",
                                  "\x01\x1f\b\f", "25\u00BAC ºC",     "",            "{\"not\": json}"};
    JsonObjectWriter writer;
    writer.AddTexts("lines", std::vector<std::string>(std::begin(tricky), std::end(tricky)));
    writer.AddText("key \"with\" quote", tricky[1]);
    const QJsonObject json = Parsed(writer);
    const QJsonArray lines = json["lines"].toArray();
    ASSERT_EQ(lines.size(), static_cast<qsizetype>(std::size(tricky)));
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].toString().toStdString(), tricky[i]);
    EXPECT_EQ(json["key \"with\" quote"].toString().toStdString(), tricky[1]);
}

TEST(JsonWriter, NumbersRoundTrip)
{
    const double doubles[] = {0.1, 1.0 / 3, 6.008484972285711e-05, 1e-5, DBL_MAX, DBL_TRUE_MIN, -2.5, 0.0};
    const float floats[] = {0.1f, 1.0f / 3, 0.000596f, FLT_MAX, FLT_TRUE_MIN, -300.390f};
    JsonObjectWriter writer;
    for (std::size_t i = 0; i < std::size(doubles); ++i) writer.AddDouble("d" + std::to_string(i), doubles[i]);
    for (std::size_t i = 0; i < std::size(floats); ++i) writer.AddFloat("f" + std::to_string(i), floats[i]);
    writer.AddInteger("i", -9007199254740993LL);
    const QJsonObject json = Parsed(writer);
    for (std::size_t i = 0; i < std::size(doubles); ++i)
        EXPECT_EQ(json[QString::fromStdString("d" + std::to_string(i))].toDouble(), doubles[i]) << doubles[i];
    for (std::size_t i = 0; i < std::size(floats); ++i)
        EXPECT_EQ(static_cast<float>(json[QString::fromStdString("f" + std::to_string(i))].toDouble()), floats[i])
            << floats[i];
    EXPECT_NE(writer.Text().find("\"i\": -9007199254740993"), std::string::npos);
}

TEST(JsonWriter, NonFiniteNumbersBecomeNull)
{
    JsonObjectWriter writer;
    writer.AddDouble("nan", std::numeric_limits<double>::quiet_NaN());
    writer.AddFloat("inf", std::numeric_limits<float>::infinity());
    writer.AddNull("none");
    writer.AddBool("yes", true);
    const QJsonObject json = Parsed(writer);
    EXPECT_TRUE(json["nan"].isNull());
    EXPECT_TRUE(json["inf"].isNull());
    EXPECT_TRUE(json["none"].isNull());
    EXPECT_TRUE(json["yes"].toBool());
}

TEST(JsonWriter, EmptyObjectAndArray)
{
    JsonObjectWriter writer;
    EXPECT_EQ(writer.Text(), "{}");
    writer.AddTexts("none", {});
    EXPECT_TRUE(Parsed(writer)["none"].toArray().isEmpty());
}

}  // namespace
}  // namespace gasmixer
