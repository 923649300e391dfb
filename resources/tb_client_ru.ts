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
    <message>
        <source>Disconnected</source>
        <translation>Нет соединения</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Соединение установлено</translation>
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
</TS>
