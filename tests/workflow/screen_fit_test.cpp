
TEST_F(ScreenFit, TheEditorOnALaptopScreenAndATableOfLongNumbersReadWhole)
{
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("screen_fit_renders"));
    ASSERT_TRUE(QDir().mkpath(folder));

    // The fluid model editor with one fluid, on the whole of a laptop screen.
    QWidget* editor = newDocumentWindow(QStringLiteral("onNewFluidModelDocument:"));
    ASSERT_NE(editor, nullptr);
    if (auto* add = editor->findChild<QPushButton*>(QStringLiteral("mFluidAddButton")))
        add->click();
    editor->resize(kLaptopScreen - kFrameAllowance);
    settle();
    EXPECT_EQ(editor->size(), kLaptopScreen - kFrameAllowance);
    EXPECT_TRUE(editor->grab().save(folder + QStringLiteral("/fluid_model_editor_1366x768.png")));

    // A panel's list of curves whose values carry every digit of a double.
    const Array records{Dictionary{{"name", Value(QStringLiteral("New alpha-beta curve of FI-12 liquid"))},
                                   {"Th", Value(123.45678901234567)},
                                   {"alpha0", Value(0.8228254228150703)}},
                        Dictionary{{"name", Value(QStringLiteral("FI-3"))},
                                   {"Th", Value(87.9)},
                                   {"alpha0", Value(0.904814541123)}}};
    RecordTable table({{"name", QStringLiteral("Curve")}, {"Th", QStringLiteral("Th (\u00b0C)")},
                       {"alpha0", QStringLiteral("First alpha")}},
                      {[&] { return int(records.size()); },
                       [&](const QString& key, int row) { return recordCell(records, row, key); },
                       [](const Value&, const QString&, int) {}});
    table.resize(420, 120);
    table.show();
    settle();
    const QFontMetrics metrics(table.font());
    const QStringList expected{"New alpha-beta curve of FI-12 liquid", "123.46", "0.82283", "FI-3", "87.9", "0.90481"};
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QModelIndex cell = table.model()->index(row, column);
            const QString text = cell.data(Qt::DisplayRole).toString();
            EXPECT_EQ(text, expected[row * 3 + column]);
            // The whole text within its column, beside the cell's margins.
            EXPECT_GE(table.columnWidth(column), metrics.horizontalAdvance(text) + 2 * 3) << text.toStdString();
        }
    }
    EXPECT_EQ(table.model()->index(0, 2).data(Qt::ToolTipRole).toString(), "0.8228254228150703");
    EXPECT_EQ(table.model()->index(0, 2).data(Qt::EditRole).toString(), "0.8228254228150703");
    EXPECT_TRUE(table.grab().save(folder + QStringLiteral("/table_of_long_numbers.png")));
}
