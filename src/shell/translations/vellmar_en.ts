<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>vellmar::TDirectoryForm</name>
    <message>
        <source>Каталоги</source>
        <translation>Directories</translation>
    </message>
    <message>
        <source>Назначение:</source>
        <translation>Purpose:</translation>
    </message>
    <message>
        <source>Расположение:</source>
        <translation>Location:</translation>
    </message>
</context>
<context>
    <name>vellmar::TGoToStation</name>
    <message>
        <source>Перейти к пикету</source>
        <translation>Go to station</translation>
    </message>
    <message>
        <source>Пикет (1+23.45) или расстояние от начала оси (123.45), м:</source>
        <translation>Station (1+23.45) or distance from the axis start (123.45), m:</translation>
    </message>
    <message>
        <source>Перейти</source>
        <translation>Go</translation>
    </message>
    <message>
        <source>У улицы нет главной оси: пикеты отсчитывать не от чего.</source>
        <translation>The street has no main axis to count stations along.</translation>
    </message>
    <message>
        <source>«%1» — не пикет. Пишите 1+23.45 или 123.45.</source>
        <translation>“%1” is not a station. Write 1+23.45 or 123.45.</translation>
    </message>
    <message>
        <source>На главной оси нет ни одного отрезка: к пикету не перейти.</source>
        <translation>The main axis has no segment: there is no station to go to.</translation>
    </message>
</context>
<context>
    <name>vellmar::TIdentifyTool</name>
    <message>
        <source>Сведения об объекте</source>
        <translation>Identify</translation>
    </message>
    <message>
        <source>Объект</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>Поле</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Значение</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Сведения об объекте (Ctrl+щелчок в любом режиме)</source>
        <translation>Identify an item (Ctrl+click in any mode)</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>Точек</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Периметр</source>
        <translation>Perimeter</translation>
    </message>
    <message>
        <source>Длина</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>м</source>
        <translation>m</translation>
    </message>
    <message>
        <source>Площадь</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>м²</source>
        <translation>m²</translation>
    </message>
</context>
<context>
    <name>vellmar::TLayersPanel</name>
    <message>
        <source>Слои</source>
        <translation>Layers</translation>
    </message>
    <message>
        <source>Слой</source>
        <translation>Layer</translation>
    </message>
    <message>
        <source>Объектов</source>
        <translation>Items</translation>
    </message>
    <message>
        <source>Двойной щелчок: только этот слой; ещё один: снова прежние</source>
        <translation>Double click: this layer only; again: the layers shown before</translation>
    </message>
    <message>
        <source>Показать все</source>
        <translation>Show all</translation>
    </message>
    <message>
        <source>Слои: какие виды объектов показаны (Ctrl+L)</source>
        <translation>Layers: which kinds of items are shown (Ctrl+L)</translation>
    </message>
</context>
<context>
    <name>vellmar::TMainForm</name>
    <message>
        <source>Открыть файл</source>
        <translation>Open file</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Закрыть все</source>
        <translation>Close all</translation>
    </message>
    <message>
        <source>Файлы прошлого сеанса не найдены и не открыты:</source>
        <translation>These files of the last session were not found and are not open:</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
</context>
<context>
    <name>vellmar::TMainMenu</name>
    <message>
        <source>&amp;Файл</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Недавние файлы</source>
        <translation>Open Recent</translation>
    </message>
    <message>
        <source>Прочитать заново</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Закрыть все</source>
        <translation>Close All</translation>
    </message>
    <message>
        <source>Экспорт PDF…</source>
        <translation>Export PDF…</translation>
    </message>
    <message>
        <source>Экспорт изображения…</source>
        <translation>Export Image…</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>(нет)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>&amp;Вид</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>Показать весь объект</source>
        <translation>Fit the whole street</translation>
    </message>
    <message>
        <source>Крупнее</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>Мельче</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>Повернуть по часовой стрелке</source>
        <translation>Turn Clockwise</translation>
    </message>
    <message>
        <source>Повернуть против часовой стрелки</source>
        <translation>Turn Counter-clockwise</translation>
    </message>
    <message>
        <source>Все улицы сразу</source>
        <translation>All Streets at Once</translation>
    </message>
    <message>
        <source>Во весь экран</source>
        <translation>Full Screen</translation>
    </message>
    <message>
        <source>Панели</source>
        <translation>Panels</translation>
    </message>
    <message>
        <source>&amp;Инструменты</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>Таскать вид</source>
        <translation>Drag the view</translation>
    </message>
    <message>
        <source>Выбрать видимую область</source>
        <translation>Select the visible area</translation>
    </message>
    <message>
        <source>Масштаб плавно</source>
        <translation>Smooth zoom</translation>
    </message>
    <message>
        <source>Вращение плавно</source>
        <translation>Smooth turn</translation>
    </message>
    <message>
        <source>Сведения об объекте</source>
        <translation>Identify</translation>
    </message>
    <message>
        <source>Измерение длины и площади</source>
        <translation>Measure length and area</translation>
    </message>
    <message>
        <source>&amp;Справка</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Клавиши</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About Vellmar</translation>
    </message>
</context>
<context>
    <name>vellmar::TMeasureTool</name>
    <message>
        <source>Измерение</source>
        <translation>Measure</translation>
    </message>
    <message>
        <source>Очистить измерение</source>
        <translation>Clear the measurement</translation>
    </message>
    <message>
        <source>Измерение длины и площади (правый щелчок — конец, Esc — очистить)</source>
        <translation>Measure lengths and areas (right click ends, Esc clears)</translation>
    </message>
    <message>
        <source>Периметр %1 м, площадь %2 м²</source>
        <translation>Perimeter %1 m, area %2 m²</translation>
    </message>
    <message>
        <source>Длина %1 м</source>
        <translation>Length %1 m</translation>
    </message>
</context>
<context>
    <name>vellmar::TPlanExportAction</name>
    <message>
        <source>Экспорт…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>Экспорт показанных слоёв в DXF, GeoPackage или GeoJSON (Ctrl+E)</source>
        <translation>Export the shown layers as DXF, GeoPackage or GeoJSON (Ctrl+E)</translation>
    </message>
    <message>
        <source>Экспорт плана</source>
        <translation>Export the plan</translation>
    </message>
    <message>
        <source>Чертёж DXF (*.dxf);;GeoPackage (*.gpkg);;GeoJSON (*.geojson)</source>
        <translation>DXF drawing (*.dxf);;GeoPackage (*.gpkg);;GeoJSON (*.geojson)</translation>
    </message>
    <message>
        <source>Экспорт подождёт: план сейчас печатается</source>
        <translation>Export must wait: the plan is being printed</translation>
    </message>
    <message>
        <source>Экспорт %1</source>
        <translation>Exporting %1</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Экспорт записан: %1</source>
        <translation>Export written: %1</translation>
    </message>
    <message>
        <source>Экспорт отменён</source>
        <translation>Export cancelled</translation>
    </message>
    <message>
        <source>Экспорт не записан: %1</source>
        <translation>Export not written: %1</translation>
    </message>
</context>
<context>
    <name>vellmar::TPrintForm</name>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Текущий вид</source>
        <translation>Current view</translation>
    </message>
    <message>
        <source>Лист %1: %2 × %3 мм, 1:%4</source>
        <translation>Sheet %1: %2 × %3 mm, 1:%4</translation>
    </message>
    <message>
        <source>Что печатать</source>
        <translation>What to print</translation>
    </message>
    <message>
        <source>Бумага</source>
        <translation>Paper</translation>
    </message>
    <message>
        <source>Альбомная</source>
        <translation>Landscape</translation>
    </message>
    <message>
        <source>Масштаб</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>Печать…</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>Экспорт PDF…</source>
        <translation>Export PDF…</translation>
    </message>
    <message>
        <source> пикс.</source>
        <translation> px</translation>
    </message>
    <message>
        <source>Ширина изображения</source>
        <translation>Image width</translation>
    </message>
    <message>
        <source>Высота изображения</source>
        <translation>Image height</translation>
    </message>
    <message>
        <source>Экспорт изображения…</source>
        <translation>Export image…</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Экспорт PDF</source>
        <translation>Export PDF</translation>
    </message>
    <message>
        <source>PDF (*.pdf)</source>
        <translation>PDF (*.pdf)</translation>
    </message>
    <message>
        <source>PDF записан: %1</source>
        <translation>PDF written: %1</translation>
    </message>
    <message>
        <source>Экспорт изображения</source>
        <translation>Export image</translation>
    </message>
    <message>
        <source>Изображения PNG (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>Изображение записано: %1</source>
        <translation>Image written: %1</translation>
    </message>
    <message>
        <source>Не удалось отправить на принтер «%1»: %2</source>
        <translation>Could not send to the printer “%1”: %2</translation>
    </message>
    <message>
        <source>Отправка на принтер «%1»…</source>
        <translation>Sending to the printer “%1”…</translation>
    </message>
    <message>
        <source>Отправлено на принтер «%1»</source>
        <translation>Sent to the printer “%1”</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Запись PDF…</source>
        <translation>Writing the PDF…</translation>
    </message>
    <message>
        <source>Запись PDF отменена</source>
        <translation>Writing the PDF was cancelled</translation>
    </message>
    <message>
        <source>Не удалось создать временную папку: %1</source>
        <translation>Could not make a temporary folder: %1</translation>
    </message>
</context>
<context>
    <name>vellmar::TQuantitiesPanel</name>
    <message>
        <source>Объёмы работ</source>
        <translation>Quantities</translation>
    </message>
    <message>
        <source>Вид</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>шт.</source>
        <translation>pcs</translation>
    </message>
    <message>
        <source>Сохранить CSV…</source>
        <translation>Save CSV…</translation>
    </message>
    <message>
        <source>Объёмы работ: разметка, знаки, покрытия, борта (Ctrl+Shift+Q)</source>
        <translation>Quantities: markings, signs, surfaces, kerbs (Ctrl+Shift+Q)</translation>
    </message>
    <message>
        <source>Разметка</source>
        <translation>Markings</translation>
    </message>
    <message>
        <source>длина, м</source>
        <translation>length, m</translation>
    </message>
    <message>
        <source>площадь, м²</source>
        <translation>area, m²</translation>
    </message>
    <message>
        <source>Знаки</source>
        <translation>Signs</translation>
    </message>
    <message>
        <source>ПК, м</source>
        <translation>station, m</translation>
    </message>
    <message>
        <source>смещение, м</source>
        <translation>offset, m</translation>
    </message>
    <message>
        <source> справа</source>
        <translation> right</translation>
    </message>
    <message>
        <source> слева</source>
        <translation> left</translation>
    </message>
    <message>
        <source>Покрытия</source>
        <translation>Surfaces</translation>
    </message>
    <message>
        <source>Линейные элементы</source>
        <translation>Lines</translation>
    </message>
    <message>
        <source>Объёмы работ в CSV</source>
        <translation>Quantities as CSV</translation>
    </message>
    <message>
        <source>Таблицы CSV (*.csv)</source>
        <translation>CSV tables (*.csv)</translation>
    </message>
    <message>
        <source>Записано: %1</source>
        <translation>Written: %1</translation>
    </message>
    <message>
        <source>Экспорт…</source>
        <translation>Export…</translation>
    </message>
</context>
<context>
    <name>vellmar::TStreetOpener</name>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>vellmar::TStreetReload</name>
    <message>
        <source>Файл "%1" изменён другой программой. Прочитать его заново? Несохранённые изменения пропадут.</source>
        <translation>The file "%1" was changed by another program. Read it again? Unsaved changes will be lost.</translation>
    </message>
</context>
<context>
    <name>vellmar::TStreetsHolderModule</name>
    <message>
        <source>Файл уже загружен.</source>
        <translation>The file is already open.</translation>
    </message>
    <message>
        <source>Улица не сохранена.Сохранять?</source>
        <translation>The street is not saved. Save it?</translation>
    </message>
    <message>
        <source>Есть несохраненные улицы. Сохранять?</source>
        <translation>Some streets are not saved. Save them?</translation>
    </message>
</context>
<context>
    <name>vellmar::TViewBookmarkActions</name>
    <message>
        <source>Добавить закладку…</source>
        <translation>Add bookmark…</translation>
    </message>
    <message>
        <source>Закладки</source>
        <translation>Bookmarks</translation>
    </message>
    <message>
        <source>Закладки вида этого файла (Ctrl+B, добавить: Ctrl+D)</source>
        <translation>View bookmarks of this file (Ctrl+B; add: Ctrl+D)</translation>
    </message>
    <message>
        <source>Переименовать</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Улица не сохранена в файл: закладок нет</source>
        <translation>The street is not saved in a file: no bookmarks</translation>
    </message>
    <message>
        <source>Имя закладки:</source>
        <translation>Bookmark name:</translation>
    </message>
    <message>
        <source>Переименовать закладку</source>
        <translation>Rename bookmark</translation>
    </message>
    <message>
        <source>Новая закладка</source>
        <translation>New bookmark</translation>
    </message>
    <message>
        <source>Вид %1</source>
        <translation>View %1</translation>
    </message>
    <message>
        <source>Закладке нужно имя.</source>
        <translation>A bookmark needs a name.</translation>
    </message>
    <message>
        <source>Закладка «%1» уже есть: выберите другое имя.</source>
        <translation>There is a bookmark “%1” already: choose another name.</translation>
    </message>
</context>
<context>
    <name>vellmar::TViewHistoryActions</name>
    <message>
        <source>Назад</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Вперёд</source>
        <translation>Forward</translation>
    </message>
</context>
<context>
    <name>vellmar::TFileMessages</name>
    <message>
        <source>Файл «%1» не найден в папке %2. Проверьте имя и папку или выберите файл заново.</source>
        <translation>The file “%1” is not in the folder %2. Check the name and the folder, or choose the file again.</translation>
    </message>
    <message>
        <source>Файл «%1» нельзя прочитать. Проверьте права на файл и папку %2.</source>
        <translation>The file “%1” cannot be read. Check the permissions of the file and of the folder %2.</translation>
    </message>
    <message>
        <source>Файл «%1» не открыт: он повреждён или это не план улицы. Откройте его резервную копию или автосохранённую копию «_autosave_%1» из той же папки.</source>
        <translation>The file “%1” is not open: it is damaged or not a street plan. Open its backup, or the autosaved copy “_autosave_%1” in the same folder.</translation>
    </message>
    <message>
        <source>Улица не сохранена в файл «%1»; прежний файл цел. Проверьте, что в папку %2 можно писать и на диске есть место, или сохраните улицу под другим именем.</source>
        <translation>The street was not saved to “%1”; the old file is intact. Check that the folder %2 can be written to and the disk has room, or save the street under another name.</translation>
    </message>
</context>
<context>
    <name>vellmar::THelpWindows</name>
    <message>
        <source>Q (держать)</source>
        <translation>Q (hold)</translation>
    </message>
    <message>
        <source>Таскать вид левой кнопкой, пока клавиша нажата</source>
        <translation>Drag the view with the left button while the key is down</translation>
    </message>
    <message>
        <source>W (держать)</source>
        <translation>W (hold)</translation>
    </message>
    <message>
        <source>Вращать вид левой кнопкой, пока клавиша нажата</source>
        <translation>Turn the view with the left button while the key is down</translation>
    </message>
    <message>
        <source>Стрелки при нажатой кнопке мыши</source>
        <translation>Arrows with a mouse button down</translation>
    </message>
    <message>
        <source>Сдвинуть указатель на один пиксель</source>
        <translation>Move the pointer by one pixel</translation>
    </message>
    <message>
        <source>Колесо в середине</source>
        <translation>Wheel in the middle</translation>
    </message>
    <message>
        <source>Масштаб вокруг указателя</source>
        <translation>Zoom about the pointer</translation>
    </message>
    <message>
        <source>Колесо у краёв</source>
        <translation>Wheel at the edges</translation>
    </message>
    <message>
        <source>Сдвиг вида</source>
        <translation>Shift the view</translation>
    </message>
    <message>
        <source>Колесо в углах</source>
        <translation>Wheel in the corners</translation>
    </message>
    <message>
        <source>Вращение вида</source>
        <translation>Turn the view</translation>
    </message>
    <message>
        <source>Ctrl+колесо</source>
        <translation>Ctrl+wheel</translation>
    </message>
    <message>
        <source>То же крупными шагами</source>
        <translation>The same in larger steps</translation>
    </message>
    <message>
        <source>Ctrl+щелчок</source>
        <translation>Ctrl+click</translation>
    </message>
    <message>
        <source>Сведения об объекте в любом режиме</source>
        <translation>Identify in any mode</translation>
    </message>
    <message>
        <source>Клавиша</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Действие</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Клавиши</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>Просмотр планов улиц (*.pln).</source>
        <translation>A viewer of street plans (*.pln).</translation>
    </message>
    <message>
        <source>Собрано с</source>
        <translation>Built with</translation>
    </message>
    <message>
        <source>Программа использует библиотеки:</source>
        <translation>The program uses these libraries:</translation>
    </message>
    <message>
        <source>О программе</source>
        <translation>About Vellmar</translation>
    </message>
</context>
<context>
    <name>vellmar::THubForm</name>
    <message>
        <source>Канал: %1</source>
        <translation>Channel: %1</translation>
    </message>
    <message>
        <source>Подключённые программы:</source>
        <translation>Connected programs:</translation>
    </message>
    <message>
        <source>Расстояние по оси, м:</source>
        <translation>Distance along the axis, m:</translation>
    </message>
    <message>
        <source>Показать</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>, процесс %1</source>
        <translation>, process %1</translation>
    </message>
    <message>
        <source>№ %1%2</source>
        <translation>No. %1%2</translation>
    </message>
    <message>
        <source>Вид: ещё не получен</source>
        <translation>View: none received yet</translation>
    </message>
    <message>
        <source>Вид: центр (%1, %2, %3), масштаб %4, поворот %5</source>
        <translation>View: centre (%1, %2, %3), scale %4, rotation %5</translation>
    </message>
    <message>
        <source>Введите число, например 120.5</source>
        <translation>Enter a number, for example 120.5</translation>
    </message>
</context>
<context>
    <name>vellmar::TMainPlanControls</name>
    <message>
        <source>Сдвиг плана</source>
        <translation>Pan the plan</translation>
    </message>
    <message>
        <source>Выбор видимой области</source>
        <translation>Select the visible area</translation>
    </message>
    <message>
        <source>Масштабирование</source>
        <translation>Zooming</translation>
    </message>
    <message>
        <source>Вращение</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>Показать весь объект</source>
        <translation>Show the whole street</translation>
    </message>
    <message>
        <source>Сдвиг вида</source>
        <translation>Shift the view</translation>
    </message>
    <message>
        <source>Вращение вида</source>
        <translation>Turn the view</translation>
    </message>
    <message>
        <source>Увеличение</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Уменьшение</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Таскать вид</source>
        <translation>Drag the view</translation>
    </message>
    <message>
        <source>Выбрать видимую область</source>
        <translation>Select the visible area</translation>
    </message>
    <message>
        <source>Масштаб плавно</source>
        <translation>Zoom smoothly</translation>
    </message>
    <message>
        <source>Вращение плавно</source>
        <translation>Turn smoothly</translation>
    </message>
    <message>
        <source>Включить прорисовку всех улиц</source>
        <translation>Draw all streets</translation>
    </message>
    <message>
        <source>Управление видом</source>
        <translation>View control</translation>
    </message>
</context>
</TS>
