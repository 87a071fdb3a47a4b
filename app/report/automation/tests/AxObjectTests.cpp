#include "AxObject.h"
#include "AxRegistry.h"
#include "MessageCapture.h"

#include <QPointer>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

using varnu::AxDispatch;
using varnu::AxDispatchPtr;
using varnu::AxException;
using varnu::AxObject;

// A server of one object type that answers "Child", "Echo(QVariant, QVariant)"
// and the property "Name", and remembers the arguments it got.
class EchoObject : public AxDispatch {
  public:
    AxDispatchPtr subObject(const QByteArray& member, const QVariantList& args,
                            AxException& error) override {
        lastArgs = args;
        if (member == "Child") {
            return std::make_shared<EchoObject>();
        }
        if (member == "Nothing") {
            return nullptr;
        }
        error = varnu::unknownMember(QStringLiteral("Echo"), member);
        return nullptr;
    }
    QVariant call(const QByteArray& member, const QVariantList& args, AxException& error) override {
        lastArgs = args;
        if (member == "Echo(QVariant, QVariant)") {
            return args.value(0);
        }
        if (member == "Holds(QVariant)") {
            return varnu::dispatchOf(args.value(0)).get() == this;
        }
        error = varnu::unknownMember(QStringLiteral("Echo"), member);
        return QVariant();
    }
    void setProperty(const QByteArray& name, const QVariant& value, AxException& error) override {
        if (name == "Name") {
            this->name = value.toString();
            return;
        }
        error = varnu::unknownMember(QStringLiteral("Echo"), name);
    }

    QVariantList lastArgs;
    QString name;
};

class AxObjectTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server = std::make_shared<EchoObject>();
        varnu::registerAxServer(QStringLiteral("test.Echo"), [this]() { return server; });
    }
    void TearDown() override { varnu::unregisterAxServer(QStringLiteral("test.Echo")); }

    std::shared_ptr<EchoObject> server;
};

TEST_F(AxObjectTest, AnUnknownProgIdFailsWithAWarningAndStaysNull) {
    MessageCapture log;
    AxObject object;
    QSignalSpy exceptions(&object, &AxObject::exception);
    EXPECT_FALSE(object.setControl(QStringLiteral("no.Such")));
    EXPECT_TRUE(object.isNull());
    EXPECT_EQ(exceptions.count(), 1);
    EXPECT_EQ(log.count(QtWarningMsg, QStringLiteral("AxObject::setControl")), 1);
    // Calls on an unbound object do nothing and say so.
    EXPECT_EQ(object.querySubObject("Child"), nullptr);
    EXPECT_FALSE(object.dynamicCall("Echo(QVariant, QVariant)", 1).isValid());
    EXPECT_FALSE(object.setProperty("Name", QStringLiteral("x")));
    EXPECT_EQ(log.messages(QtWarningMsg).size(), 4);
}

TEST_F(AxObjectTest, CallsReachTheServerByTheirExactText) {
    AxObject object;
    ASSERT_TRUE(object.setControl(QStringLiteral("test.Echo")));
    EXPECT_EQ(object.control(), QStringLiteral("test.Echo"));
    EXPECT_EQ(object.dynamicCall("Echo(QVariant, QVariant)", 7, QStringLiteral("b")), QVariant(7));
    EXPECT_EQ(server->lastArgs, (QVariantList{7, QStringLiteral("b")}));
    EXPECT_TRUE(object.setProperty("Name", QStringLiteral("n")));
    EXPECT_EQ(server->name, QStringLiteral("n"));

    // Arguments end at the first invalid variant.
    object.dynamicCall("Echo(QVariant, QVariant)", 1, QVariant(), 3);
    EXPECT_EQ(server->lastArgs, QVariantList{1});

    MessageCapture log;
    QSignalSpy exceptions(&object, &AxObject::exception);
    EXPECT_FALSE(object.dynamicCall("Echo(QVariant,QVariant)", 1).isValid());
    ASSERT_EQ(exceptions.count(), 1);
    EXPECT_EQ(exceptions.at(0).at(0).toInt(), int(AxException::UnknownMember));
    EXPECT_EQ(log.count(QtWarningMsg, QStringLiteral("AxObject: Echo(QVariant,QVariant) failed")),
              1);
}

TEST_F(AxObjectTest, SubObjectsAreChildrenAndCanBePassedOn) {
    auto object = std::make_unique<AxObject>();
    ASSERT_TRUE(object->setControl(QStringLiteral("test.Echo")));
    QPointer<AxObject> child = object->querySubObject("Child");
    ASSERT_FALSE(child.isNull());
    EXPECT_EQ(child->parent(), object.get());
    EXPECT_FALSE(child->isNull());
    EXPECT_EQ(object->querySubObject("Nothing"), nullptr);

    EXPECT_TRUE(object->dynamicCall("Holds(QVariant)", object->asVariant()).toBool());
    EXPECT_FALSE(object->dynamicCall("Holds(QVariant)", child->asVariant()).toBool());

    object.reset();
    EXPECT_TRUE(child.isNull());
}

}  // namespace
