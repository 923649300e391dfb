<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>MainWindow</name>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Close program</source>
        <translation>Закрыть программу</translation>
    </message>
    <message>
        <source>Lan options</source>
        <translation>Настройки LAN</translation>
    </message>
    <message>
        <source>Open LAN network options</source>
        <translation>Открыть настройки сети LAN</translation>
    </message>
    <message>
        <source>Modem settings</source>
        <translation>Настройки модема</translation>
    </message>
    <message>
        <source>Open modem dialog</source>
        <translation>Открыть окно настроек модема</translation>
    </message>
    <message>
        <source>Server settings</source>
        <translation>Настройки сервера</translation>
    </message>
    <message>
        <source>Open server dialog</source>
        <translation>Открыть окно настроек сервера</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Обновление</translation>
    </message>
    <message>
        <source>Open update dialog</source>
        <translation>Открыть окно обновления</translation>
    </message>
    <message>
        <source>Reboot</source>
        <translation>Перезагрузка</translation>
    </message>
    <message>
        <source>Reboot device</source>
        <translation>Перезагрузить устройство</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Видео</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Статистика</translation>
    </message>
    <message>
        <source>Reports</source>
        <translation>Отчёты</translation>
    </message>
</context>
<context>
    <name>MainWindowClass</name>
    <message>
        <source>Velmora Configurator</source>
        <translation>Конфигуратор Velmora</translation>
    </message>
    <message>
        <source>Tab 1</source>
        <translation>Вкладка 1</translation>
    </message>
    <message>
        <source>Tab 2</source>
        <translation>Вкладка 2</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Сервис</translation>
    </message>
    <message>
        <source>Connect...</source>
        <translation>Подключиться...</translation>
    </message>
    <message>
        <source>Close connection</source>
        <translation>Закрыть соединение</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Параметры</translation>
    </message>
</context>
<context>
    <name>KoGraphicsDrawer</name>
    <message>
        <source>. Occlusion on: </source>
        <translation>. Перекрытие: </translation>
    </message>
    <message>
        <source>. Signal off: </source>
        <translation>. Нет сигнала: </translation>
    </message>
    <message>
        <source>. Occlusion off: </source>
        <translation>. Перекрытие снято: </translation>
    </message>
    <message>
        <source>. Signal on: </source>
        <translation>. Сигнал есть: </translation>
    </message>
    <message>
        <source>. Started: </source>
        <translation>. Запуск: </translation>
    </message>
    <message>
        <source>. Ignition off: </source>
        <translation>. Зажигание выключено: </translation>
    </message>
    <message>
        <source>. Ignition on: </source>
        <translation>. Зажигание включено: </translation>
    </message>
    <message>
        <source>. Shutdown: </source>
        <translation>. Выключение: </translation>
    </message>
    <message>
        <source>. Shutdown req: </source>
        <translation>. Запрос выключения: </translation>
    </message>
    <message>
        <source>Count: </source>
        <translation>Количество: </translation>
    </message>
    <message>
        <source>Events:
</source>
        <translation>События:
</translation>
    </message>
</context>
<context>
    <name>KoReportExport</name>
    <message>
        <source>Pass number:</source>
        <translation>Номер прохода:</translation>
    </message>
    <message>
        <source>Start date:</source>
        <translation>Начальная дата:</translation>
    </message>
    <message>
        <source>End date:</source>
        <translation>Конечная дата:</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Год:</translation>
    </message>
    <message>
        <source>Month:</source>
        <translation>Месяц:</translation>
    </message>
    <message>
        <source>Day:</source>
        <translation>День:</translation>
    </message>
    <message>
        <source>Xml report</source>
        <translation>Отчёт XML</translation>
    </message>
    <message>
        <source>Save folder:</source>
        <translation>Папка для сохранения:</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Все</translation>
    </message>
    <message>
        <source>Choose directory</source>
        <translation>Выберите папку</translation>
    </message>
    <message>
        <source>Date error</source>
        <translation>Ошибка даты</translation>
    </message>
    <message>
        <source>Final date must be later than start date</source>
        <translation>Конечная дата должна быть позже начальной</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <source>Empty data for report</source>
        <translation>Нет данных для отчёта</translation>
    </message>
    <message>
        <source>Succes!</source>
        <translation>Успешно!</translation>
    </message>
    <message>
        <source>Report was saved in </source>
        <translation>Отчёт сохранён в </translation>
    </message>
    <message>
        <source>Yanuary</source>
        <translation>Январь</translation>
    </message>
    <message>
        <source>February</source>
        <translation>Февраль</translation>
    </message>
    <message>
        <source>March</source>
        <translation>Март</translation>
    </message>
    <message>
        <source>April</source>
        <translation>Апрель</translation>
    </message>
    <message>
        <source>May</source>
        <translation>Май</translation>
    </message>
    <message>
        <source>June</source>
        <translation>Июнь</translation>
    </message>
    <message>
        <source>July</source>
        <translation>Июль</translation>
    </message>
    <message>
        <source>August</source>
        <translation>Август</translation>
    </message>
    <message>
        <source>September</source>
        <translation>Сентябрь</translation>
    </message>
    <message>
        <source>October</source>
        <translation>Октябрь</translation>
    </message>
    <message>
        <source>November</source>
        <translation>Ноябрь</translation>
    </message>
    <message>
        <source>December</source>
        <translation>Декабрь</translation>
    </message>
</context>
<context>
    <name>KoStatisticsViewer</name>
    <message>
        <source>Pass:</source>
        <translation>Проход:</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Год:</translation>
    </message>
    <message>
        <source>Month:</source>
        <translation>Месяц:</translation>
    </message>
    <message>
        <source>Day:</source>
        <translation>День:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Тип:</translation>
    </message>
    <message>
        <source>Incoming</source>
        <translation>Входящие</translation>
    </message>
    <message>
        <source>Outcoming</source>
        <translation>Выходящие</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Все</translation>
    </message>
    <message>
        <source>Year report</source>
        <translation>Отчёт за год</translation>
    </message>
    <message>
        <source>Month report</source>
        <translation>Отчёт за месяц</translation>
    </message>
    <message>
        <source>Day report</source>
        <translation>Отчёт за день</translation>
    </message>
    <message>
        <source>Save to .xml</source>
        <translation>Сохранить в .xml</translation>
    </message>
    <message>
        <source>Mon</source>
        <translation>Пн</translation>
    </message>
    <message>
        <source>Tue</source>
        <translation>Вт</translation>
    </message>
    <message>
        <source>Wed</source>
        <translation>Ср</translation>
    </message>
    <message>
        <source>Thu</source>
        <translation>Чт</translation>
    </message>
    <message>
        <source>Fri</source>
        <translation>Пт</translation>
    </message>
    <message>
        <source>Sat</source>
        <translation>Сб</translation>
    </message>
    <message>
        <source>San</source>
        <translation>Вс</translation>
    </message>
    <message>
        <source>all passes</source>
        <translation>все проходы</translation>
    </message>
    <message>
        <source>pass %0</source>
        <translation>проход %0</translation>
    </message>
    <message>
        <source>People count</source>
        <translation>Число людей</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Месяц</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>Дни</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Часы</translation>
    </message>
    <message>
        <source>Year statistics</source>
        <translation>Статистика за год</translation>
    </message>
    <message>
        <source>Month statistics</source>
        <translation>Статистика за месяц</translation>
    </message>
    <message>
        <source>Day statistics</source>
        <translation>Статистика за день</translation>
    </message>
    <message>
        <source>Year statistics for 20%0 %1</source>
        <translation>Статистика за 20%0 год, %1</translation>
    </message>
    <message>
        <source>Month statistics for %0.%1 %2</source>
        <translation>Статистика за месяц %0.%1, %2</translation>
    </message>
    <message>
        <source>Day statistics for %0.%1.%2 %3</source>
        <translation>Статистика за день %0.%1.%2, %3</translation>
    </message>
    <message>
        <source>Total people count = %0</source>
        <translation>Всего людей = %0</translation>
    </message>
    <message>
        <source>Succes!</source>
        <translation>Успешно!</translation>
    </message>
    <message>
        <source>Report was saved in </source>
        <translation>Отчёт сохранён в </translation>
    </message>
    <message>
        <source>Yanuary</source>
        <translation>Январь</translation>
    </message>
    <message>
        <source>February</source>
        <translation>Февраль</translation>
    </message>
    <message>
        <source>March</source>
        <translation>Март</translation>
    </message>
    <message>
        <source>April</source>
        <translation>Апрель</translation>
    </message>
    <message>
        <source>May</source>
        <translation>Май</translation>
    </message>
    <message>
        <source>June</source>
        <translation>Июнь</translation>
    </message>
    <message>
        <source>July</source>
        <translation>Июль</translation>
    </message>
    <message>
        <source>August</source>
        <translation>Август</translation>
    </message>
    <message>
        <source>September</source>
        <translation>Сентябрь</translation>
    </message>
    <message>
        <source>October</source>
        <translation>Октябрь</translation>
    </message>
    <message>
        <source>November</source>
        <translation>Ноябрь</translation>
    </message>
    <message>
        <source>December</source>
        <translation>Декабрь</translation>
    </message>
</context>
<context>
    <name>KoUpdater</name>
    <message>
        <source>SW path</source>
        <translation>Путь к ПО</translation>
    </message>
    <message>
        <source>Configurations</source>
        <translation>Конфигурации</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ок</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Choose the sw file</source>
        <translation>Выберите файл ПО</translation>
    </message>
    <message>
        <source>(*.pcd)</source>
        <translation>(*.pcd)</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Предупреждение</translation>
    </message>
    <message>
        <source>Not correct distributive</source>
        <translation>Некорректный дистрибутив</translation>
    </message>
</context>
<context>
    <name>SwUpdateDialog</name>
    <message>
        <source>Update sw dialog</source>
        <translation>Обновление ПО</translation>
    </message>
</context>
<context>
    <name>KoAlgoServiceControllUI</name>
    <message>
        <source>Install changes</source>
        <translation>Применить</translation>
    </message>
    <message>
        <source>Default params</source>
        <translation>По умолчанию</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Опции</translation>
    </message>
    <message>
        <source>View mode: </source>
        <translation>Режим: </translation>
    </message>
    <message>
        <source>Left camera</source>
        <translation>Левая камера</translation>
    </message>
    <message>
        <source>Right camera</source>
        <translation>Правая камера</translation>
    </message>
    <message>
        <source>No send</source>
        <translation>Не передавать</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Сброс</translation>
    </message>
    <message>
        <source>In: %0</source>
        <translation>Вход: %0</translation>
    </message>
    <message>
        <source>Out: %0</source>
        <translation>Выход: %0</translation>
    </message>
    <message>
        <source>fps: %0</source>
        <translation>кадр/с: %0</translation>
    </message>
    <message>
        <source>In:%0</source>
        <translation>Вход:%0</translation>
    </message>
    <message>
        <source>Out:%0</source>
        <translation>Выход:%0</translation>
    </message>
    <message>
        <source>Frames count:</source>
        <translation>Кадров:</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Стерео</translation>
    </message>
    <message>
        <source>Counted files: </source>
        <translation>Обработано файлов: </translation>
    </message>
    <message>
        <source>Counted files: %0/%1 of file: %3</source>
        <translation>Обработано файлов: %0/%1 файла: %3</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>Вписать</translation>
    </message>
    <message>
        <source>Fit the picture into the view (%0)</source>
        <translation>Вписать изображение в окно (%0)</translation>
    </message>
    <message>
        <source>Frames to record: 1 to %0</source>
        <translation>Кадров для записи: от 1 до %0</translation>
    </message>
    <message>
        <source>from %0</source>
        <translation>с %0</translation>
    </message>
    <message>
        <source>The counts started again when the link came back</source>
        <translation>Счёт начат заново после восстановления связи</translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Нет изображения</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>No connection</source>
        <translation>Нет связи</translation>
    </message>
</context>
<context>
    <name>KoLinkStatusWidget</name>
    <message>
        <source>Connected</source>
        <translation>Соединение установлено</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Подключение...</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Нет соединения</translation>
    </message>
</context>
<context>
    <name>KoClientMultUi</name>
    <message>
        <source>Use left mouse key button for new line point addition
Use right mouse key button for last line point deletion



Incoming people cross the line from blue to yellow line
Outcoming people cross the line from yellow to blue line</source>
        <translation>Левая кнопка мыши добавляет точку линии
Правая кнопка мыши удаляет последнюю точку линии



Входящие пересекают линию от синей к жёлтой
Выходящие пересекают линию от жёлтой к синей</translation>
    </message>
</context>
<context>
    <name>KoNetworkSettings</name>
    <message>
        <source>Host name:</source>
        <translation>Имя хоста:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Порт:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Внимание</translation>
    </message>
    <message>
        <source>Not correct port</source>
        <translation>Неверный порт</translation>
    </message>
    <message>
        <source>Not host name</source>
        <translation>Не указано имя хоста</translation>
    </message>
</context>
<context>
    <name>NetworkSettingDialog</name>
    <message>
        <source>Lan options</source>
        <translation>Настройки сети</translation>
    </message>
</context>
</TS>
