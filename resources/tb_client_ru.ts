<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>ChangeIPDialog</name>
    <message>
        <source>Server IP dialog</source>
        <translation>Адрес сервера</translation>
    </message>
</context>
<context>
    <name>CommandDialogs</name>
    <message>
        <source>Modem settings sent, waiting for the device&apos;s answer</source>
        <translation>Настройки модема отправлены, ждём ответа устройства</translation>
    </message>
    <message>
        <source>Server address sent, waiting for the device&apos;s answer</source>
        <translation>Адрес сервера отправлен, ждём ответа устройства</translation>
    </message>
    <message>
        <source>Update sent, waiting for the device&apos;s answer</source>
        <translation>Обновление отправлено, ждём ответа устройства</translation>
    </message>
    <message>
        <source>Reboot command sent</source>
        <translation>Команда перезагрузки отправлена</translation>
    </message>
    <message>
        <source>Mount options of pass %1 sent</source>
        <translation>Параметры установки прохода %1 отправлены</translation>
    </message>
</context>
<context>
    <name>FleetCommands</name>
    <message>
        <source>Save configuration</source>
        <translation>Сохранить конфигурацию</translation>
    </message>
    <message>
        <source>Nothing is known of the device yet: it reports its doors when the connection is made.</source>
        <translation>Об устройстве ещё ничего не известно: оно сообщает о своих дверях при установке соединения.</translation>
    </message>
    <message>
        <source>Configurations (*.json);;All files (*)</source>
        <translation>Конфигурации (*.json);;Все файлы (*)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written: %2.</source>
        <translation>Не удалось записать «%1»: %2.</translation>
    </message>
    <message>
        <source>Configuration saved in %1</source>
        <translation>Конфигурация сохранена в %1</translation>
    </message>
    <message>
        <source>Apply configuration</source>
        <translation>Применить конфигурацию</translation>
    </message>
    <message>
        <source>the file is larger than %1 KiB</source>
        <translation>файл больше %1 КиБ</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be applied: %2. Nothing was sent.</source>
        <translation>«%1» нельзя применить: %2. Ничего не отправлено.</translation>
    </message>
</context>
<context>
    <name>KoAddressBook</name>
    <message>
        <source>the name is empty</source>
        <translation>имя не задано</translation>
    </message>
    <message>
        <source>the name is longer than %1 characters or holds control characters</source>
        <translation>имя длиннее %1 символов или содержит управляющие символы</translation>
    </message>
    <message>
        <source>the vehicle number is longer than %1 characters or holds control characters</source>
        <translation>номер транспортного средства длиннее %1 символов или содержит управляющие символы</translation>
    </message>
    <message>
        <source>%1 doors: a device has 1 to 4 (0 while unknown)</source>
        <translation>дверей: %1; у устройства их от 1 до 4 (0, пока неизвестно)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither an IP address nor a host name</source>
        <translation>«%1» — не IP-адрес и не имя хоста</translation>
    </message>
    <message>
        <source>port 0: a port is 1 to 65535</source>
        <translation>порт 0: порт — число от 1 до 65535</translation>
    </message>
    <message>
        <source>the notes are longer than %1 characters or hold control characters</source>
        <translation>заметки длиннее %1 символов или содержат управляющие символы</translation>
    </message>
    <message>
        <source>the software version is longer than %1 characters</source>
        <translation>версия ПО длиннее %1 символов</translation>
    </message>
    <message>
        <source>the file is larger than %1 MiB</source>
        <translation>файл больше %1 МиБ</translation>
    </message>
    <message>
        <source>it is not JSON (%1 at byte %2)</source>
        <translation>это не JSON (%1 в байте %2)</translation>
    </message>
    <message>
        <source>it is no address book</source>
        <translation>это не адресная книга</translation>
    </message>
    <message>
        <source>its format version is missing</source>
        <translation>не указана версия формата</translation>
    </message>
    <message>
        <source>it was written by a newer configurator (format %1; this one reads format %2 and older)</source>
        <translation>файл записан более новым конфигуратором (формат %1; эта версия читает формат %2 и старше)</translation>
    </message>
    <message>
        <source>it has no list of devices</source>
        <translation>в нём нет списка устройств</translation>
    </message>
    <message>
        <source>it holds more than %1 devices</source>
        <translation>в нём больше %1 устройств</translation>
    </message>
    <message>
        <source>device %1: %2</source>
        <translation>устройство %1: %2</translation>
    </message>
    <message>
        <source>not an object</source>
        <translation>не объект</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is missing or not a text</source>
        <translation>«%1» отсутствует или не является текстом</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a text</source>
        <translation>«%1» не является текстом</translation>
    </message>
    <message>
        <source>the port is missing or not a number from 1 to 65535</source>
        <translation>порт не указан или не является числом от 1 до 65535</translation>
    </message>
    <message>
        <source>the door count is not a number from 0 to 4</source>
        <translation>число дверей — не число от 0 до 4</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no date and time</source>
        <translation>«%1» — не дата и время</translation>
    </message>
    <message>
        <source>the same address as device %1</source>
        <translation>тот же адрес, что у устройства %1</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>файл пуст</translation>
    </message>
    <message>
        <source>the first line names no columns &quot;name&quot; and &quot;host&quot;</source>
        <translation>в первой строке нет столбцов «name» и «host»</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>строка %1: %2</translation>
    </message>
    <message>
        <source>the door count &quot;%1&quot; is not a number from 0 to 4</source>
        <translation>число дверей «%1» — не число от 0 до 4</translation>
    </message>
    <message>
        <source>the port &quot;%1&quot; is not a number from 1 to 65535</source>
        <translation>порт «%1» — не число от 1 до 65535</translation>
    </message>
    <message>
        <source>the address %1:%2 was on an earlier line</source>
        <translation>адрес %1:%2 уже был в одной из строк выше</translation>
    </message>
</context>
<context>
    <name>KoAddressBookWindow</name>
    <message>
        <source>Address book</source>
        <translation>Адресная книга</translation>
    </message>
    <message>
        <source>The address book could not be read: %1. It is kept as it is until the book is changed; then it is set aside as &quot;%2&quot;.</source>
        <translation>Не удалось прочитать адресную книгу: %1. Файл остаётся как есть, пока книга не изменится; затем он будет сохранён в стороне как «%2».</translation>
    </message>
    <message>
        <source>Name, vehicle, address or notes</source>
        <translation>Имя, транспорт, адрес или заметки</translation>
    </message>
    <message>
        <source>Search:</source>
        <translation>Поиск:</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Имя</translation>
    </message>
    <message>
        <source>Vehicle</source>
        <translation>Транспорт</translation>
    </message>
    <message>
        <source>Doors</source>
        <translation>Двери</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Адрес</translation>
    </message>
    <message>
        <source>Last connected</source>
        <translation>Подключался</translation>
    </message>
    <message>
        <source>Software</source>
        <translation>ПО</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Заметки</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Подключиться</translation>
    </message>
    <message>
        <source>Add…</source>
        <translation>Добавить…</translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation>Изменить…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Import CSV…</source>
        <translation>Импорт CSV…</translation>
    </message>
    <message>
        <source>Export CSV…</source>
        <translation>Экспорт CSV…</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>The address book could not be written: %1. The change is kept until the program ends.</source>
        <translation>Не удалось записать адресную книгу: %1. Изменение сохранится до закрытия программы.</translation>
    </message>
    <message>
        <source>The address book holds %1 devices, as many as it can.</source>
        <translation>В адресной книге %1 устройств — больше она не вмещает.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has this address</source>
        <translation>этот адрес уже у «%1»</translation>
    </message>
    <message>
        <source>Remove &quot;%1&quot; from the address book?</source>
        <translation>Удалить «%1» из адресной книги?</translation>
    </message>
    <message>
        <source>&quot;network.txt&quot; could not be written: %1. The device is used now, but the next start uses the old address.</source>
        <translation>Не удалось записать «network.txt»: %1. Устройство используется сейчас, но при следующем запуске будет старый адрес.</translation>
    </message>
    <message>
        <source>Import devices</source>
        <translation>Импорт устройств</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Файлы CSV (*.csv);;Все файлы (*)</translation>
    </message>
    <message>
        <source>the file is larger than %1 MiB</source>
        <translation>файл больше %1 МиБ</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be imported: %2.</source>
        <translation>«%1» нельзя импортировать: %2.</translation>
    </message>
    <message>
        <source>%1 added, %2 updated.</source>
        <translation>Добавлено: %1, обновлено: %2.</translation>
    </message>
    <message>
        <source>%1 found no room: the book is full.</source>
        <translation>Не поместилось: %1, книга заполнена.</translation>
    </message>
    <message>
        <source>Lines left out:</source>
        <translation>Пропущенные строки:</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>и ещё %1</translation>
    </message>
    <message>
        <source>Export devices</source>
        <translation>Экспорт устройств</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written: %2.</source>
        <translation>Не удалось записать «%1»: %2.</translation>
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
    <message>
        <source>Counting line and zone of pass %1 installed</source>
        <translation>Линия и зона счёта прохода %1 установлены</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>Не удалось сохранить %1: %2</translation>
    </message>
    <message>
        <source>Counting line and zone of pass %1 sent</source>
        <translation>Линия и зона счёта прохода %1 отправлены</translation>
    </message>
    <message>
        <source>Stop of the recording of pass %1 sent</source>
        <translation>Остановка записи прохода %1 отправлена</translation>
    </message>
    <message>
        <source>Recording of pass %1 asked for</source>
        <translation>Запись прохода %1 запрошена</translation>
    </message>
    <message>
        <source>Save a snapshot of the picture with its marks, line and zone as PNG</source>
        <translation>Сохранить снимок изображения с метками, линией и зоной в PNG</translation>
    </message>
    <message>
        <source>Save the snapshot as</source>
        <translation>Сохранить снимок как</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>Изображения PNG (*.png)</translation>
    </message>
    <message>
        <source>Snapshot saved in %1</source>
        <translation>Снимок сохранён в %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>The snapshot could not be saved in %1: %2</source>
        <translation>Не удалось сохранить снимок в %1: %2</translation>
    </message>
</context>
<context>
    <name>KoApnSettings</name>
    <message>
        <source>Number: </source>
        <translation>Номер: </translation>
    </message>
    <message>
        <source>Login: </source>
        <translation>Логин: </translation>
    </message>
    <message>
        <source>Password: </source>
        <translation>Пароль: </translation>
    </message>
    <message>
        <source>APN: </source>
        <translation>Точка доступа (APN): </translation>
    </message>
    <message>
        <source>Show password</source>
        <translation>Показать пароль</translation>
    </message>
    <message>
        <source>Stored as typed: no blanks, tabs, &quot;;&quot; or line breaks.</source>
        <translation>Сохраняется как введено: без пробелов, табуляций, «;» и переводов строки.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Номер</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Логин</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>APN</source>
        <translation>Точка доступа (APN)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>%1 cannot be stored: it may not hold blanks, tabs, &quot;;&quot; or line breaks, nor be the word &quot;default&quot;.</source>
        <translation>%1: значение нельзя сохранить: в нём не должно быть пробелов, табуляций, «;» и переводов строки, и оно не может быть словом «default».</translation>
    </message>
</context>
<context>
    <name>KoApplyDialog</name>
    <message>
        <source>Apply configuration</source>
        <translation>Применение конфигурации</translation>
    </message>
    <message>
        <source>File %1, saved from %2 on %3.</source>
        <translation>Файл %1, сохранён с %2 %3.</translation>
    </message>
    <message>
        <source>Section</source>
        <translation>Раздел</translation>
    </message>
    <message>
        <source>On the device</source>
        <translation>На устройстве</translation>
    </message>
    <message>
        <source>In the file</source>
        <translation>В файле</translation>
    </message>
    <message>
        <source>Server key (never kept in a file):</source>
        <translation>Ключ сервера (в файлах не хранится):</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Применить</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>The device&apos;s answers:</source>
        <translation>Ответы устройства:</translation>
    </message>
    <message>
        <source>Applied to %1.</source>
        <translation>Применяется к %1.</translation>
    </message>
    <message>
        <source>no change</source>
        <translation>без изменений</translation>
    </message>
    <message>
        <source>cannot be applied: %1</source>
        <translation>нельзя применить: %1</translation>
    </message>
    <message>
        <source>not known</source>
        <translation>неизвестно</translation>
    </message>
    <message>
        <source>The file holds nothing that can be applied.</source>
        <translation>В файле нет ничего, что можно применить.</translation>
    </message>
    <message>
        <source>%1: taken by the device.</source>
        <translation>%1: принято устройством.</translation>
    </message>
    <message>
        <source>%1: refused by the device (%2).</source>
        <translation>%1: отклонено устройством (%2).</translation>
    </message>
    <message>
        <source>%1: no answer from the device.</source>
        <translation>%1: устройство не ответило.</translation>
    </message>
    <message>
        <source>%1: not sent, there is no connection to the device.</source>
        <translation>%1: не отправлено, нет соединения с устройством.</translation>
    </message>
    <message>
        <source>%1: the connection was lost before the device answered.</source>
        <translation>%1: соединение потеряно до ответа устройства.</translation>
    </message>
    <message>
        <source>All chosen sections applied (%1).</source>
        <translation>Все выбранные разделы применены (%1).</translation>
    </message>
    <message>
        <source>Stopped at &quot;%1&quot;.</source>
        <translation>Остановлено на «%1».</translation>
    </message>
    <message>
        <source>Nothing was applied.</source>
        <translation>Ничего не применено.</translation>
    </message>
    <message>
        <source>Applied before it: %1.</source>
        <translation>До этого применено: %1.</translation>
    </message>
    <message>
        <source>The configuration is being applied. Stop waiting for the device&apos;s answers?</source>
        <translation>Конфигурация применяется. Перестать ждать ответов устройства?</translation>
    </message>
</context>
<context>
    <name>KoCaptureReader</name>
    <message>
        <source>not a capture</source>
        <translation>это не запись потока</translation>
    </message>
    <message>
        <source>capture format %1 is not known</source>
        <translation>неизвестный формат записи %1</translation>
    </message>
    <message>
        <source>damaged header</source>
        <translation>повреждён заголовок</translation>
    </message>
    <message>
        <source>the file ends inside its header</source>
        <translation>файл обрывается внутри заголовка</translation>
    </message>
    <message>
        <source>no end record</source>
        <translation>нет завершающей записи</translation>
    </message>
    <message>
        <source>the file ends inside a block</source>
        <translation>файл обрывается внутри блока</translation>
    </message>
    <message>
        <source>the file ends inside its end record</source>
        <translation>файл обрывается внутри завершающей записи</translation>
    </message>
    <message>
        <source>damaged end record</source>
        <translation>повреждена завершающая запись</translation>
    </message>
    <message>
        <source>the end record counts other chunks</source>
        <translation>завершающая запись не совпадает с числом фрагментов</translation>
    </message>
    <message>
        <source>no block where one should start</source>
        <translation>нет блока там, где он должен начинаться</translation>
    </message>
    <message>
        <source>damaged block head</source>
        <translation>повреждён заголовок блока</translation>
    </message>
    <message>
        <source>a block head out of bounds</source>
        <translation>заголовок блока вне границ</translation>
    </message>
    <message>
        <source>the file cannot be read further</source>
        <translation>файл не читается дальше</translation>
    </message>
    <message>
        <source>a block that does not unpack</source>
        <translation>блок не распаковывается</translation>
    </message>
    <message>
        <source>a block with stray bytes</source>
        <translation>блок с лишними байтами</translation>
    </message>
    <message>
        <source>a block with fewer chunks</source>
        <translation>блок с недостающими фрагментами</translation>
    </message>
    <message>
        <source>a chunk out of bounds</source>
        <translation>фрагмент вне границ</translation>
    </message>
</context>
<context>
    <name>KoCaptureUi</name>
    <message>
        <source>Replay</source>
        <translation>Воспроизведение</translation>
    </message>
    <message>
        <source>Open capture</source>
        <translation>Открыть запись потока</translation>
    </message>
    <message>
        <source>Replay a recorded capture in the live view</source>
        <translation>Воспроизвести записанный поток в окне видео</translation>
    </message>
    <message>
        <source>Close capture</source>
        <translation>Закрыть запись потока</translation>
    </message>
    <message>
        <source>End the replay and connect to the device again</source>
        <translation>Закончить воспроизведение и снова подключиться к устройству</translation>
    </message>
    <message>
        <source>Recording stopped for the replay; the capture is saved as %1.</source>
        <translation>Запись остановлена для воспроизведения; поток сохранён в %1.</translation>
    </message>
    <message>
        <source>Recording stopped for the replay; %1 could not be written (%2).</source>
        <translation>Запись остановлена для воспроизведения; не удалось записать %1 (%2).</translation>
    </message>
    <message>
        <source>%1 - replay of %2</source>
        <translation>%1 — воспроизведение %2</translation>
    </message>
    <message>
        <source>Replay of %1</source>
        <translation>Воспроизведение %1</translation>
    </message>
    <message>
        <source>a capture is playing</source>
        <translation>идёт воспроизведение записи</translation>
    </message>
    <message>
        <source>Capture saved as %1.</source>
        <translation>Поток сохранён в %1.</translation>
    </message>
    <message>
        <source>The capture %1 could not be written: %2</source>
        <translation>Не удалось записать поток %1: %2</translation>
    </message>
    <message>
        <source>Stop recording</source>
        <translation>Остановить запись потока</translation>
    </message>
    <message>
        <source>Record capture</source>
        <translation>Записать поток</translation>
    </message>
    <message>
        <source>Stop the recording and save the capture</source>
        <translation>Остановить запись и сохранить поток</translation>
    </message>
    <message>
        <source>Record what the device sends into a capture file</source>
        <translation>Записать всё, что присылает устройство, в файл</translation>
    </message>
    <message>
        <source>Recording %1 MiB</source>
        <translation>Запись: %1 МиБ</translation>
    </message>
    <message>
        <source>Recording to %1; it stops at %2 MiB</source>
        <translation>Запись в %1; остановится на %2 МиБ</translation>
    </message>
    <message>
        <source>The recording stopped: the capture %1 could not be written (%2).</source>
        <translation>Запись остановлена: не удалось записать поток %1 (%2).</translation>
    </message>
    <message>
        <source>The recording stopped at its size limit of %1 MiB; the capture is saved as %2.</source>
        <translation>Запись остановлена на пределе размера %1 МиБ; поток сохранён в %2.</translation>
    </message>
    <message>
        <source>The recording stopped because the link was pointed at another device; the capture is saved as %1.</source>
        <translation>Запись остановлена, так как связь переключена на другое устройство; поток сохранён в %1.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Внимание</translation>
    </message>
    <message>
        <source>Captures (*.vcap);;All files (*)</source>
        <translation>Записи потока (*.vcap);;Все файлы (*)</translation>
    </message>
    <message>
        <source>%1 cannot be replayed: %2.</source>
        <translation>Невозможно воспроизвести %1: %2.</translation>
    </message>
    <message>
        <source>Captures (*.vcap)</source>
        <translation>Записи потока (*.vcap)</translation>
    </message>
    <message>
        <source>Cannot record to %1: %2</source>
        <translation>Невозможно записать в %1: %2</translation>
    </message>
</context>
<context>
    <name>KoCaptureWriter</name>
    <message>
        <source>the device&apos;s name is too long</source>
        <translation>слишком длинное имя устройства</translation>
    </message>
    <message>
        <source>the compressor cannot start</source>
        <translation>не удаётся запустить сжатие</translation>
    </message>
    <message>
        <source>the size limit is too small</source>
        <translation>слишком малый предел размера</translation>
    </message>
    <message>
        <source>the compressor failed</source>
        <translation>ошибка сжатия</translation>
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
    <name>KoClientOptions</name>
    <message>
        <source>Camera mount height (sm.):</source>
        <translation>Высота установки камеры (см):</translation>
    </message>
    <message>
        <source>101 or more</source>
        <translation>от 101</translation>
    </message>
    <message>
        <source>Camera slope angle (dg.):</source>
        <translation>Угол наклона камеры (град.):</translation>
    </message>
    <message>
        <source>from -80 to 80</source>
        <translation>от -80 до 80</translation>
    </message>
    <message>
        <source>Min. object heght (sm.)</source>
        <translation>Мин. высота объекта (см)</translation>
    </message>
    <message>
        <source>6 or more, below the mount height</source>
        <translation>от 6, меньше высоты установки</translation>
    </message>
    <message>
        <source>Object size (pix.):</source>
        <translation>Размер объекта (пикс.):</translation>
    </message>
    <message>
        <source>as the device reports it</source>
        <translation>как сообщает устройство</translation>
    </message>
    <message>
        <source>Max object velocity (km/h.):</source>
        <translation>Макс. скорость объекта (км/ч):</translation>
    </message>
    <message>
        <source>1 or more</source>
        <translation>от 1</translation>
    </message>
    <message>
        <source>Head size (sm.):</source>
        <translation>Размер головы (см):</translation>
    </message>
    <message>
        <source>2.1 or more, rounded to tenths</source>
        <translation>от 2.1, с точностью до десятых</translation>
    </message>
    <message>
        <source>Min track lenght (frames):</source>
        <translation>Мин. длина трека (кадров):</translation>
    </message>
    <message>
        <source>3 or more</source>
        <translation>от 3</translation>
    </message>
    <message>
        <source>Lost object lenght (frames):</source>
        <translation>Потеря объекта (кадров):</translation>
    </message>
    <message>
        <source>1 or more, below the min track lenght</source>
        <translation>от 1, меньше мин. длины трека</translation>
    </message>
    <message>
        <source>Etalon height (sm.):</source>
        <translation>Эталонная высота (см):</translation>
    </message>
    <message>
        <source>0, or 31 or more</source>
        <translation>0 или от 31</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Allowed: %1</source>
        <translation>Допустимо: %1</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a whole number. Allowed: %3.</source>
        <translation>%1: «%2» — не целое число. Допустимо: %3.</translation>
    </message>
    <message>
        <source>%1: %2 is out of range. Allowed: %3.</source>
        <translation>%1: %2 — вне допустимого диапазона. Допустимо: %3.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a number such as 2.5. Allowed: %3.</source>
        <translation>%1: «%2» — не число вида 2.5. Допустимо: %3.</translation>
    </message>
    <message>
        <source>%1: %2 rounds to %3. Allowed: %4.</source>
        <translation>%1: %2 округляется до %3. Допустимо: %4.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Incorrect parameters</source>
        <translation>Неверные параметры</translation>
    </message>
</context>
<context>
    <name>KoCommandOutcome</name>
    <message>
        <source>Warning</source>
        <translation>Внимание</translation>
    </message>
    <message>
        <source>No connection to the device: nothing was sent.</source>
        <translation>Нет соединения с устройством: ничего не отправлено.</translation>
    </message>
</context>
<context>
    <name>KoConfigProfile</name>
    <message>
        <source>the file is larger than %1 KiB</source>
        <translation>файл больше %1 КиБ</translation>
    </message>
    <message>
        <source>it is not JSON (%1 at byte %2)</source>
        <translation>это не JSON (%1 в байте %2)</translation>
    </message>
    <message>
        <source>it is no configuration of this tool</source>
        <translation>это не конфигурация этой программы</translation>
    </message>
    <message>
        <source>its format version is missing</source>
        <translation>не указана версия формата</translation>
    </message>
    <message>
        <source>it was written by a newer configurator (format %1; this one reads format %2 and older)</source>
        <translation>файл записан более новым конфигуратором (формат %1; эта версия читает формат %2 и старше)</translation>
    </message>
    <message>
        <source>the date it was saved is missing</source>
        <translation>не указана дата сохранения</translation>
    </message>
    <message>
        <source>the source device is missing or damaged</source>
        <translation>исходное устройство не указано или повреждено</translation>
    </message>
    <message>
        <source>the list of doors is missing or longer than four</source>
        <translation>списка дверей нет или в нём больше четырёх</translation>
    </message>
    <message>
        <source>door %1: %2</source>
        <translation>дверь %1: %2</translation>
    </message>
    <message>
        <source>the pass is missing or not 0 to 3</source>
        <translation>проход не указан или не от 0 до 3</translation>
    </message>
    <message>
        <source>pass %1 comes twice</source>
        <translation>проход %1 указан дважды</translation>
    </message>
    <message>
        <source>the line is not a list of at most %1 points</source>
        <translation>линия — не список из не более чем %1 точек</translation>
    </message>
    <message>
        <source>a point of the line is not two numbers</source>
        <translation>точка линии — не два числа</translation>
    </message>
    <message>
        <source>the zone is not four numbers</source>
        <translation>зона — не четыре числа</translation>
    </message>
    <message>
        <source>the mount option %1 is missing or not a whole number</source>
        <translation>параметр установки %1 не указан или не целое число</translation>
    </message>
    <message>
        <source>the camera numbers are not two whole numbers</source>
        <translation>номера камер — не два целых числа</translation>
    </message>
    <message>
        <source>the modem setting %1 is missing or not a text of at most %2 characters</source>
        <translation>настройка модема %1 не указана или не текст длиной до %2 символов</translation>
    </message>
    <message>
        <source>the server address is missing or not a text of at most %1 characters</source>
        <translation>адрес сервера не указан или не текст длиной до %1 символов</translation>
    </message>
    <message>
        <source>a counting line has 2 to %1 points; this one has %2</source>
        <translation>у линии счёта от 2 до %1 точек, у этой — %2</translation>
    </message>
    <message>
        <source>the point %1, %2 of the line lies off the picture (0 to 1)</source>
        <translation>точка линии %1, %2 лежит вне изображения (от 0 до 1)</translation>
    </message>
    <message>
        <source>the zone %1, %2, %3 x %4 does not lie on the picture (0 to 1)</source>
        <translation>зона %1, %2, %3 x %4 выходит за изображение (от 0 до 1)</translation>
    </message>
    <message>
        <source>%1: %2 is out of range. Allowed: %3.</source>
        <translation>%1: %2 — вне допустимого диапазона. Допустимо: %3.</translation>
    </message>
    <message>
        <source>the modem setting %1 may not hold blanks, tabs, &quot;;&quot; or line breaks, nor be the word &quot;default&quot;</source>
        <translation>настройка модема %1 не может содержать пробелы, табуляции, «;» и переводы строк и не может быть словом «default»</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither an IPv4 address nor a host name</source>
        <translation>«%1» — не IPv4-адрес и не имя хоста</translation>
    </message>
</context>
<context>
    <name>KoCsv</name>
    <message>
        <source>line %1: %2</source>
        <translation>строка %1: %2</translation>
    </message>
    <message>
        <source>a quote is not closed</source>
        <translation>кавычка не закрыта</translation>
    </message>
    <message>
        <source>text after a closing quote</source>
        <translation>текст после закрывающей кавычки</translation>
    </message>
    <message>
        <source>more than %1 fields</source>
        <translation>больше %1 полей</translation>
    </message>
    <message>
        <source>more than %1 lines</source>
        <translation>больше %1 строк</translation>
    </message>
</context>
<context>
    <name>KoDeviceEditor</name>
    <message>
        <source>New device</source>
        <translation>Новое устройство</translation>
    </message>
    <message>
        <source>Device %1</source>
        <translation>Устройство %1</translation>
    </message>
    <message>
        <source>not known</source>
        <translation>неизвестно</translation>
    </message>
    <message>
        <source>An IP address such as 192.168.1.10, or a host name</source>
        <translation>IP-адрес, например 192.168.1.10, или имя хоста</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Имя:</translation>
    </message>
    <message>
        <source>Vehicle number:</source>
        <translation>Номер транспорта:</translation>
    </message>
    <message>
        <source>Doors:</source>
        <translation>Дверей:</translation>
    </message>
    <message>
        <source>Host name:</source>
        <translation>Имя хоста:</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Порт:</translation>
    </message>
    <message>
        <source>Notes:</source>
        <translation>Заметки:</translation>
    </message>
    <message>
        <source>never</source>
        <translation>никогда</translation>
    </message>
    <message>
        <source>Last connected:</source>
        <translation>Последнее соединение:</translation>
    </message>
    <message>
        <source>Software version:</source>
        <translation>Версия ПО:</translation>
    </message>
    <message>
        <source>not reported</source>
        <translation>не сообщалась</translation>
    </message>
    <message>
        <source>the port &quot;%1&quot; is not a number from 1 to 65535</source>
        <translation>порт «%1» — не число от 1 до 65535</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>The device cannot be kept: %1.</source>
        <translation>Устройство нельзя сохранить: %1.</translation>
    </message>
</context>
<context>
    <name>KoFleet</name>
    <message>
        <source>the file is larger than %1 MiB</source>
        <translation>файл больше %1 МиБ</translation>
    </message>
    <message>
        <source>the damaged book could not be set aside as %1</source>
        <translation>не удалось сохранить повреждённую книгу в стороне как %1</translation>
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
    <message>
        <source>%1M</source>
        <comment>millions, shortened</comment>
        <translation>%1 млн</translation>
    </message>
    <message>
        <source>%1k</source>
        <comment>thousands, shortened</comment>
        <translation>%1 тыс.</translation>
    </message>
</context>
<context>
    <name>KoIpChanger</name>
    <message>
        <source>Ip address: </source>
        <translation>IP-адрес: </translation>
    </message>
    <message>
        <source>Key: </source>
        <translation>Ключ: </translation>
    </message>
    <message>
        <source>An IPv4 address such as 192.168.1.10, or a host name</source>
        <translation>Адрес IPv4, например 192.168.1.10, или имя хоста</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Ip address: &quot;%1&quot; is neither an IPv4 address (four numbers from 0 to 255 joined by dots) nor a host name.</source>
        <translation>IP-адрес: «%1» — не адрес IPv4 (четыре числа от 0 до 255 через точку) и не имя хоста.</translation>
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
    <message>
        <source>Ok</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is neither an IP address nor a host name.</source>
        <translation>«%1» — не IP-адрес и не имя хоста.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written: %2. The address is used now, but the next start uses the old one.</source>
        <translation>Не удалось записать «%1»: %2. Адрес используется сейчас, но при следующем запуске будет прежний.</translation>
    </message>
    <message>
        <source>Add to the address book</source>
        <translation>Добавить в адресную книгу</translation>
    </message>
</context>
<context>
    <name>KoProfileApplier</name>
    <message>
        <source>the device kept another counting line</source>
        <translation>устройство оставило другую линию счёта</translation>
    </message>
    <message>
        <source>the device kept %1 %2</source>
        <translation>устройство оставило «%1» = %2</translation>
    </message>
    <message>
        <source>code %1</source>
        <translation>код %1</translation>
    </message>
</context>
<context>
    <name>KoProfilePlan</name>
    <message>
        <source>Pass %1: counting line and zone</source>
        <translation>Проход %1: линия и зона счёта</translation>
    </message>
    <message>
        <source>Pass %1: mount options</source>
        <translation>Проход %1: параметры установки</translation>
    </message>
    <message>
        <source>Modem settings</source>
        <translation>Настройки модема</translation>
    </message>
    <message>
        <source>Server address</source>
        <translation>Адрес сервера</translation>
    </message>
    <message>
        <source>Pass %1: the cameras %2 and %3 of the source are not applied; every device keeps its own.</source>
        <translation>Проход %1: камеры %2 и %3 исходного устройства не применяются — у каждого устройства свои.</translation>
    </message>
    <message>
        <source>the device has no pass %1</source>
        <translation>у устройства нет прохода %1</translation>
    </message>
    <message>
        <source>Counting line</source>
        <translation>Линия счёта</translation>
    </message>
    <message>
        <source>Zone</source>
        <translation>Зона счёта</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Номер</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Логин</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>APN</source>
        <translation>Точка доступа (APN)</translation>
    </message>
    <message>
        <source>Ip address</source>
        <translation>IP-адрес</translation>
    </message>
</context>
<context>
    <name>KoReplayBar</name>
    <message>
        <source>Position in the capture</source>
        <translation>Позиция в записи</translation>
    </message>
    <message>
        <source>Replay speed</source>
        <translation>Скорость воспроизведения</translation>
    </message>
    <message>
        <source>%1×</source>
        <translation>%1×</translation>
    </message>
    <message>
        <source>Close replay</source>
        <translation>Закрыть воспроизведение</translation>
    </message>
    <message>
        <source>Replay of %1: device %2:%3, recorded %4</source>
        <translation>Воспроизведение %1: устройство %2:%3, записано %4</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Воспроизвести</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 из %2</translation>
    </message>
    <message>
        <source>The capture ends early, at %1: it played up to there.</source>
        <translation>Запись обрывается на %1: воспроизведено до этого места.</translation>
    </message>
    <message>
        <source>The capture is damaged at %1: it played up to there.</source>
        <translation>Запись повреждена на %1: воспроизведено до этого места.</translation>
    </message>
    <message>
        <source>Played to the end.</source>
        <translation>Воспроизведено до конца.</translation>
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
    <message>
        <source>The end date is not included: the report runs from the start date up to the day before the end date.</source>
        <translation>Конечная дата не входит в отчёт: он охватывает дни от начальной даты до дня перед конечной.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written: %2. A file of that name keeps its old content.</source>
        <translation>Не удалось записать «%1»: %2. Файл с этим именем сохраняет прежнее содержимое.</translation>
    </message>
</context>
<context>
    <name>KoSceneSnapshot</name>
    <message>
        <source>there is no picture</source>
        <translation>нет изображения</translation>
    </message>
    <message>
        <source>door %1 %2.png</source>
        <translation>дверь %1 %2.png</translation>
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
    <message>
        <source>Save the statistics as</source>
        <translation>Сохранить статистику как</translation>
    </message>
    <message>
        <source>XML files (*.xml)</source>
        <translation>Файлы XML (*.xml)</translation>
    </message>
    <message>
        <source>statistics</source>
        <translation>статистика</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>The device sent the two directions with different numbers of bars; nothing was saved.</source>
        <translation>Устройство прислало для двух направлений разное число столбцов; ничего не сохранено.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written: %2. A file of that name keeps its old content.</source>
        <translation>Не удалось записать «%1»: %2. Файл с этим именем сохраняет прежнее содержимое.</translation>
    </message>
    <message>
        <source>Save to .csv</source>
        <translation>Сохранить в .csv</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Файлы CSV (*.csv)</translation>
    </message>
</context>
<context>
    <name>KoUpdateProgress</name>
    <message>
        <source>Update</source>
        <translation>Обновление</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Скрыть</translation>
    </message>
    <message>
        <source>Sending the update to the device (%1 bytes)...</source>
        <translation>Обновление передаётся устройству (%1 байт)...</translation>
    </message>
    <message>
        <source>Sent. Waiting for the device to install the update...</source>
        <translation>Передано. Ждём, пока устройство установит обновление...</translation>
    </message>
    <message>
        <source>The connection to the device was lost before it answered the update.</source>
        <translation>Соединение с устройством прервалось до его ответа на обновление.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
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
        <translation>ОК</translation>
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
    <message>
        <source>%1 (%2 bytes, CRC %3)</source>
        <translation>%1 (%2 байт, CRC %3)</translation>
    </message>
    <message>
        <source>The configuration &quot;%1&quot; is empty (0 bytes) and cannot be sent.</source>
        <translation>Конфигурация «%1» пуста (0 байт) и не может быть отправлена.</translation>
    </message>
</context>
<context>
    <name>KoValidationReport</name>
    <message>
        <source>within</source>
        <translation>в допуске</translation>
    </message>
    <message>
        <source>outside</source>
        <translation>вне допуска</translation>
    </message>
    <message numerus="yes">
        <source>not enough samples yet: %n more needed</source>
        <translation>
            <numerusform>пока мало выборок: нужна ещё %n выборка</numerusform>
            <numerusform>пока мало выборок: нужны ещё %n выборки</numerusform>
            <numerusform>пока мало выборок: нужно ещё %n выборок</numerusform>
        </translation>
    </message>
    <message>
        <source>not enough samples yet</source>
        <translation>пока мало выборок</translation>
    </message>
    <message>
        <source>All doors in</source>
        <translation>Все двери, вход</translation>
    </message>
    <message>
        <source>All doors out</source>
        <translation>Все двери, выход</translation>
    </message>
    <message>
        <source>All doors</source>
        <translation>Все двери</translation>
    </message>
    <message>
        <source>Door %1 in</source>
        <translation>Дверь %1, вход</translation>
    </message>
    <message>
        <source>Door %1 out</source>
        <translation>Дверь %1, выход</translation>
    </message>
    <message>
        <source>Door %1</source>
        <translation>Дверь %1</translation>
    </message>
    <message>
        <source>Door validation report</source>
        <translation>Протокол проверки счёта дверей</translation>
    </message>
    <message>
        <source>Device: %1</source>
        <translation>Устройство: %1</translation>
    </message>
    <message>
        <source>Written: %1 (local time)</source>
        <translation>Составлен: %1 (местное время)</translation>
    </message>
    <message>
        <source>Session: %1 to %2</source>
        <translation>Сеанс: с %1 по %2</translation>
    </message>
    <message>
        <source>Operator: %1</source>
        <translation>Проверяющий: %1</translation>
    </message>
    <message>
        <source>Vehicle: %1</source>
        <translation>Транспортное средство: %1</translation>
    </message>
    <message>
        <source>Tolerance: ±%1</source>
        <translation>Допуск: ±%1</translation>
    </message>
    <message>
        <source>Verdict (all doors, both directions): %1</source>
        <translation>Заключение (все двери, оба направления): %1</translation>
    </message>
    <message numerus="yes">
        <source>Mean relative deviation %1, 95 % interval %2, over %n sample(s)</source>
        <translation>
            <numerusform>Среднее относительное отклонение %1, интервал 95 % %2, по %n выборке</numerusform>
            <numerusform>Среднее относительное отклонение %1, интервал 95 % %2, по %n выборкам</numerusform>
            <numerusform>Среднее относительное отклонение %1, интервал 95 % %2, по %n выборкам</numerusform>
        </translation>
    </message>
    <message>
        <source>No picture</source>
        <translation>Нет изображения</translation>
    </message>
    <message>
        <source>Figures</source>
        <translation>Показатели</translation>
    </message>
    <message>
        <source>Hand</source>
        <translation>Вручную</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Устройство</translation>
    </message>
    <message>
        <source>Difference</source>
        <translation>Разница</translation>
    </message>
    <message>
        <source>Relative</source>
        <translation>Относительная</translation>
    </message>
    <message>
        <source>Samples</source>
        <translation>Выборки</translation>
    </message>
    <message>
        <source>Mean deviation</source>
        <translation>Среднее отклонение</translation>
    </message>
    <message>
        <source>95 % interval</source>
        <translation>Интервал 95 %</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Заключение</translation>
    </message>
    <message>
        <source>Samples (hand / device)</source>
        <translation>Выборки (вручную / устройство)</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Начать</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Конец</translation>
    </message>
    <message>
        <source>Signature: ______________________</source>
        <translation>Подпись: ______________________</translation>
    </message>
    <message>
        <source>the report could not be drawn</source>
        <translation>протокол не удалось построить</translation>
    </message>
</context>
<context>
    <name>KoValidationWindow</name>
    <message>
        <source>Door validation</source>
        <translation>Проверка счёта дверей</translation>
    </message>
    <message>
        <source>The mean deviation&apos;s 95 % interval must lie within this</source>
        <translation>Интервал 95 % среднего отклонения должен лежать в этих пределах</translation>
    </message>
    <message>
        <source>Operator:</source>
        <translation>Проверяющий:</translation>
    </message>
    <message>
        <source>Vehicle:</source>
        <translation>Транспорт:</translation>
    </message>
    <message>
        <source>Tolerance:</source>
        <translation>Допуск:</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>Устройство:</translation>
    </message>
    <message>
        <source>Door %1</source>
        <translation>Дверь %1</translation>
    </message>
    <message>
        <source>label, e.g. front</source>
        <translation>подпись, напр. передняя</translation>
    </message>
    <message>
        <source>Save a snapshot of the picture with its marks, line and zone as PNG</source>
        <translation>Сохранить снимок изображения с метками, линией и зоной в PNG</translation>
    </message>
    <message>
        <source>In (%1)</source>
        <translation>Вход (%1)</translation>
    </message>
    <message>
        <source>Out (%1)</source>
        <translation>Выход (%1)</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
    <message>
        <source>Mark sample</source>
        <translation>Закрыть выборку</translation>
    </message>
    <message>
        <source>Closes the sample: a door opening, a stop</source>
        <translation>Закрывает выборку: одно открытие дверей, одна остановка</translation>
    </message>
    <message>
        <source>Undo (Backspace)</source>
        <translation>Отменить (Backspace)</translation>
    </message>
    <message>
        <source>Takes back the last hand count of the open sample</source>
        <translation>Отменяет последний ручной счёт открытой выборки</translation>
    </message>
    <message>
        <source>Save report</source>
        <translation>Сохранить протокол</translation>
    </message>
    <message>
        <source>The report as PDF and the samples as CSV beside it</source>
        <translation>Протокол в PDF и выборки в CSV рядом с ним</translation>
    </message>
    <message>
        <source>Door and direction</source>
        <translation>Дверь и направление</translation>
    </message>
    <message>
        <source>Hand</source>
        <translation>Вручную</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Устройство</translation>
    </message>
    <message>
        <source>Difference</source>
        <translation>Разница</translation>
    </message>
    <message>
        <source>Relative</source>
        <translation>Относительная</translation>
    </message>
    <message>
        <source>Samples</source>
        <translation>Выборки</translation>
    </message>
    <message>
        <source>Mean deviation</source>
        <translation>Среднее отклонение</translation>
    </message>
    <message>
        <source>95 % interval</source>
        <translation>Интервал 95 %</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Заключение</translation>
    </message>
    <message>
        <source>Figures</source>
        <translation>Показатели</translation>
    </message>
    <message>
        <source>Counting again</source>
        <translation>Счёт продолжен</translation>
    </message>
    <message>
        <source>New session</source>
        <translation>Новый сеанс</translation>
    </message>
    <message>
        <source>The report of the stopped session has not been saved. Start a new session all the same?</source>
        <translation>Протокол остановленного сеанса не сохранён. Всё равно начать новый сеанс?</translation>
    </message>
    <message>
        <source>Counting: press the door&apos;s In and Out buttons or keys as people cross</source>
        <translation>Идёт счёт: нажимайте кнопки или клавиши «Вход» и «Выход» двери, когда люди проходят</translation>
    </message>
    <message>
        <source>Paused: neither hand nor device counts are taken</source>
        <translation>Пауза: не учитывается ни ручной счёт, ни счёт устройства</translation>
    </message>
    <message>
        <source>Stopped; what was counted since the last mark is sample %1</source>
        <translation>Остановлено; счёт после последней выборки стал выборкой %1</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Остановлено</translation>
    </message>
    <message>
        <source>Sample %1 marked</source>
        <translation>Выборка %1 закрыта</translation>
    </message>
    <message>
        <source>Nothing was counted since the last mark: no sample</source>
        <translation>После последней выборки ничего не насчитано: выборки нет</translation>
    </message>
    <message>
        <source>Save the snapshot as</source>
        <translation>Сохранить снимок как</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>Изображения PNG (*.png)</translation>
    </message>
    <message>
        <source>Snapshot saved in %1</source>
        <translation>Снимок сохранён в %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>The snapshot could not be saved in %1: %2</source>
        <translation>Не удалось сохранить снимок в %1: %2</translation>
    </message>
    <message>
        <source>validation %1.pdf</source>
        <translation>проверка %1.pdf</translation>
    </message>
    <message>
        <source>Save the report as</source>
        <translation>Сохранить протокол как</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>Файлы PDF (*.pdf)</translation>
    </message>
    <message>
        <source>%1 could not be written: %2. A file of that name keeps its old content.</source>
        <translation>Не удалось записать %1: %2. Файл с этим именем сохраняет прежнее содержимое.</translation>
    </message>
    <message>
        <source>Report saved in %1 and %2</source>
        <translation>Протокол сохранён в %1 и %2</translation>
    </message>
    <message>
        <source>In the open sample: hand in %1, out %2; device in %3, out %4</source>
        <translation>В открытой выборке: вручную вход %1, выход %2; устройство вход %3, выход %4</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Продолжить</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Начать</translation>
    </message>
    <message>
        <source>Waits for the device to tell how many doors it has</source>
        <translation>Ждёт, пока устройство сообщит число дверей</translation>
    </message>
    <message>
        <source>Not started</source>
        <translation>Не начато</translation>
    </message>
    <message>
        <source>Counting since %1</source>
        <translation>Счёт с %1</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Пауза</translation>
    </message>
    <message>
        <source>Stopped at %1</source>
        <translation>Остановлено в %1</translation>
    </message>
    <message>
        <source>Verdict: start a session and count</source>
        <translation>Заключение: начните сеанс и считайте</translation>
    </message>
    <message>
        <source>Verdict, all doors in both directions, tolerance ±%1: %2</source>
        <translation>Заключение по всем дверям в обоих направлениях, допуск ±%1: %2</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>№</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Конец</translation>
    </message>
    <message>
        <source>All doors</source>
        <translation>Все двери</translation>
    </message>
    <message>
        <source>In</source>
        <translation>Вход</translation>
    </message>
    <message>
        <source>Out</source>
        <translation>Выход</translation>
    </message>
</context>
<context>
    <name>KoXmlReportWriter</name>
    <message>
        <source>unknown period kind</source>
        <translation>неизвестный вид периода</translation>
    </message>
</context>
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
        <source> for </source>
        <translation> для </translation>
    </message>
    <message>
        <source> channel</source>
        <translation> канала</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>The device took the settings, but &quot;%1&quot; could not be written: %2. The file keeps its old content.</source>
        <translation>Устройство приняло настройки, но записать «%1» не удалось: %2. Файл сохраняет прежнее содержимое.</translation>
    </message>
    <message>
        <source>Succes!</source>
        <translation>Успешно!</translation>
    </message>
    <message>
        <source>Update was finished succesfull. The device will reboot after 1 minute.</source>
        <translation>Обновление успешно завершено. Устройство перезагрузится через 1 минуту.</translation>
    </message>
    <message>
        <source>Warning!</source>
        <translation>Внимание!</translation>
    </message>
    <message>
        <source>Update trouble. Code error: %0</source>
        <translation>Ошибка обновления. Код ошибки: %0</translation>
    </message>
    <message>
        <source>Reboot command received</source>
        <translation>Команда перезагрузки принята</translation>
    </message>
    <message>
        <source>Can not set modem settings. Code error: %0</source>
        <translation>Не удалось установить настройки модема. Код ошибки: %0</translation>
    </message>
    <message>
        <source>Install modem settings OK!</source>
        <translation>Настройки модема установлены!</translation>
    </message>
    <message>
        <source>Can not set ip server. Code error: %0</source>
        <translation>Не удалось установить адрес сервера. Код ошибки: %0</translation>
    </message>
    <message>
        <source>Ip server settings OK!</source>
        <translation>Адрес сервера установлен!</translation>
    </message>
    <message>
        <source>Address book</source>
        <translation>Адресная книга</translation>
    </message>
    <message>
        <source>Open the address book of devices</source>
        <translation>Открыть адресную книгу устройств</translation>
    </message>
    <message>
        <source>Save configuration</source>
        <translation>Сохранить конфигурацию</translation>
    </message>
    <message>
        <source>Save the configuration of the connected device to a file</source>
        <translation>Сохранить конфигурацию подключённого устройства в файл</translation>
    </message>
    <message>
        <source>Apply configuration</source>
        <translation>Применить конфигурацию</translation>
    </message>
    <message>
        <source>Apply a saved configuration to the connected device</source>
        <translation>Применить сохранённую конфигурацию к подключённому устройству</translation>
    </message>
    <message>
        <source>The address book could not be written: %1</source>
        <translation>Не удалось записать адресную книгу: %1</translation>
    </message>
    <message>
        <source>%1 added to the address book</source>
        <translation>%1 добавлен в адресную книгу</translation>
    </message>
    <message>
        <source>Validate doors</source>
        <translation>Проверка счёта дверей</translation>
    </message>
    <message>
        <source>Count by hand beside the device and write a report</source>
        <translation>Считать вручную рядом с устройством и составить протокол</translation>
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
    <name>ModemDialog</name>
    <message>
        <source>Modem settings dialog</source>
        <translation>Настройки модема</translation>
    </message>
</context>
<context>
    <name>NetworkSettingDialog</name>
    <message>
        <source>Lan options</source>
        <translation>Настройки сети</translation>
    </message>
</context>
<context>
    <name>OptionsDialog</name>
    <message>
        <source>Mount options</source>
        <translation>Параметры установки</translation>
    </message>
</context>
<context>
    <name>RebootDialog</name>
    <message>
        <source>Reboot device?</source>
        <translation>Перезагрузить устройство?</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>ОК</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>SwUpdateDialog</name>
    <message>
        <source>Update sw dialog</source>
        <translation>Обновление ПО</translation>
    </message>
</context>
</TS>
