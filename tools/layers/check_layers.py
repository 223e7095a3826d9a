#!/usr/bin/env python3
"""Checks the layers of the source tree (run as a test; see docs/architecture.md).

- The layers are core/, gui/, cli/ and app/. core/ uses nothing above it;
  gui/ and cli/ use core/ only; app/ uses everything.
- core/ includes no QtWidgets header (by any spelling: <QWidget>,
  <QtWidgets/QWidget>, <QtWidgets>).
- The folders (core/link, core/channels, gui/banks, ...) use each other
  without a cycle.

Usage: check_layers.py SOURCE_DIR [QT_WIDGETS_INCLUDE_DIR]
Prints every breach and exits 1 if there is one.
"""
import os
import re
import sys

LAYERS = {'core': 0, 'gui': 1, 'cli': 1, 'app': 2}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def source_files(root):
    for layer in LAYERS:
        for base, _, files in os.walk(os.path.join(root, layer)):
            for name in files:
                if name.endswith(('.cpp', '.h', '.inc')):
                    yield os.path.relpath(os.path.join(base, name), root)


def folder_of(path):
    parts = path.split('/')
    return '/'.join(parts[:2]) if len(parts) > 2 else parts[0]


def widget_headers(qt_dir):
    names = {'QtWidgets'}
    if qt_dir and os.path.isdir(qt_dir):
        names.update(n for n in os.listdir(qt_dir) if not n.endswith('.h') or n.startswith('q'))
    else:  # a few that would be tempting in core code
        names.update(['QWidget', 'QApplication', 'QDialog', 'QMessageBox', 'QMainWindow',
                      'QLineEdit', 'QComboBox', 'QTableView', 'QPushButton', 'QLabel'])
    return names


def find_cycle(graph):
    state = {}
    stack = []

    def visit(node):
        state[node] = 1
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 1:
                return stack[stack.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt)
                if found:
                    return found
        stack.pop()
        state[node] = 2
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node)
            if found:
                return found
    return None


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else '.'
    widgets = widget_headers(sys.argv[2] if len(sys.argv) > 2 else None)
    breaches = []
    graph = {}
    for path in sorted(source_files(root)):
        with open(os.path.join(root, path), encoding='utf-8', errors='replace') as f:
            text = f.read()
        layer = path.split('/')[0]
        here = folder_of(path)
        for bracket, target in INCLUDE.findall(text):
            if bracket == '"':
                used_layer = target.split('/')[0]
                if used_layer not in LAYERS:
                    continue
                if LAYERS[used_layer] > LAYERS[layer] or (used_layer != layer and LAYERS[used_layer] == LAYERS[layer]):
                    breaches.append(f'{path}: {layer}/ must not use {used_layer}/ ("{target}")')
                there = folder_of(target)
                if there != here:
                    graph.setdefault(here, set()).add(there)
            elif layer == 'core':
                name = target.split('/')
                if name[0] == 'QtWidgets' or (len(name) == 1 and name[0] in widgets):
                    breaches.append(f'{path}: core/ must not include the widget header <{target}>')
    cycle = find_cycle(graph)
    if cycle:
        breaches.append('folders used in a cycle: ' + ' -> '.join(cycle))
    for b in breaches:
        print(b)
    if breaches:
        return 1
    print(f'layers ok: {len(graph)} folders, no cycle')
    return 0


if __name__ == '__main__':
    sys.exit(main())
