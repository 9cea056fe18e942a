#!/usr/bin/env python3
"""Fills lmfwin_ru.ts with the Russian texts after lupdate has brought in new entries.

The numbered messages take the Russian text of the engine's message table
(lmfwin/filter/FilterMessages.cpp) unless ru_texts.py gives another; every other entry comes
from ru_texts.py. An entry without a text is reported and left unfinished."""
import os
import re
import sys
import xml.etree.ElementTree as ET

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.join(here, '..', '..', '..')
sys.path.insert(0, here)
from ru_texts import RU  # noqa: E402


def c_string(literal_run):
    parts = re.findall(r'"((?:[^"\\]|\\.)*)"', literal_run)
    return ''.join(parts).encode('utf-8').decode('unicode_escape').encode('latin-1').decode('utf-8')


def message_table():
    constants = {}
    for name, value in re.findall(r'(kMsg\w+) = (\d+);', open(os.path.join(root, 'lmfwin/filter/FilterMessages.h')).read()):
        constants[name] = int(value)

    def key(token):
        return constants[token] if token in constants else int(token)

    russian = {}
    text = open(os.path.join(root, 'lmfwin/filter/FilterMessages.cpp')).read()
    # {id, "Russian"} or {id, "Russian", "English"}: the first text is the shipped one.
    for token, run in re.findall(r'\{(\w+),\s*((?:"(?:[^"\\]|\\.)*"\s*)+)(?:,\s*(?:"(?:[^"\\]|\\.)*"\s*)+)?\}', text):
        russian[key(token)] = c_string(run)
    english = {}
    text = open(os.path.join(root, 'lmfwin/ui/UiMessages.cpp')).read()
    for token, run in re.findall(r'\{(?:lm::)?(\w+),\s*QT_TRANSLATE_NOOP\(\s*"FilterMessage",\s*((?:"(?:[^"\\]|\\.)*"\s*)+)\)\}', text):
        english[c_string(run)] = key(token)
    return russian, english


def main():
    russian, english = message_table()
    path = os.path.join(here, 'lmfwin_ru.ts')
    tree = ET.parse(path)
    missing = 0
    for context in tree.getroot().findall('context'):
        name = context.find('name').text
        for message in context.findall('message'):
            source = message.find('source').text
            translation = message.find('translation')
            text = RU.get(name, {}).get(source)
            if text is None and name == 'FilterMessage' and source in english:
                text = russian.get(english[source])
            if text is None:
                print('no Russian text: %s: %r' % (name, source))
                missing += 1
                continue
            translation.text = text
            translation.attrib.pop('type', None)
    tree.write(path, encoding='utf-8', xml_declaration=True)
    with open(path, 'r+', encoding='utf-8') as f:
        body = f.read().replace("<?xml version='1.0' encoding='utf-8'?>", '<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>', 1)
        f.seek(0)
        f.write(body)
        f.truncate()
    return 1 if missing else 0


if __name__ == '__main__':
    sys.exit(main())
