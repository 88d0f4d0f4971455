"""Build a sample timetable table SOLUC.DBF from the exported work tables.

Reads ASIGT.DBF and AULAT.DBF from WORKDIR (the folder written by
``transvormos exportar``), places every teaching assignment on a 5-day x
6-period week with a small deterministic greedy scheduler and writes
OUTDIR/SOLUC.DBF (dBase III, code page 1252), the table the timetabling
product hands back to ``transvormos importar``.  A few extra rows at the end
exercise edge cases (unscheduled sessions, unknown codes, the LECT activity
and a deleted record).

Usage:
    /usr/bin/python3 samples/make_soluc.py WORKDIR OUTDIR

All names and data are fictitious.
"""

import os
import sys

import dbf

DAYS = 5
PERIODS = 6
# Last-update date written in the dBase header: (year - 1900, month, day).
FIXED_DATE = (2024 - 1900, 9, 1)
FIELDS = ('DIA N(1,0); HORA N(2,0); SESIONES C(20); CODGRUPO C(10); '
          'ASIG C(10); TAREA C(10); PROF C(10); AULA C(10)')


def text(value):
    return (value or '').strip()


def key(code):
    """Conflict key: codes are compared without case so the check is strict."""
    return code.casefold()


def read_table(path):
    table = dbf.Table(path)
    table.open(dbf.READ_ONLY)
    try:
        return [rec for rec in table if not dbf.is_deleted(rec)]
    finally:
        table.close()


def load_assignments(workdir):
    assignments = []
    for rec in read_table(os.path.join(workdir, 'ASIGT.DBF')):
        subject = text(rec.casig)
        if not subject:
            continue
        hours = rec.horas or 0
        sessions = int(hours) if hours >= 1 else 1
        assignments.append({
            'index': len(assignments),
            'subject': subject,
            'teacher': text(rec.cprof),
            'group': text(rec.cgrup),
            'sesiones': text(rec.sesiones),
            'activity': text(rec.ctarea),
            'count': sessions,
        })
    return assignments


def load_rooms(workdir):
    """Room codes in table order, and each room's full name (lower case)."""
    rooms, names = [], {}
    for rec in read_table(os.path.join(workdir, 'AULAT.DBF')):
        code = text(rec.abrev)
        if code and code not in rooms:
            rooms.append(code)
            names[code] = text(rec.nombre).lower()
    return rooms, names


def room_preferences(subject, rooms, names):
    """Rooms in order of preference for a subject: preferred first, then the rest."""
    upper = subject.upper()
    ordinary = [r for r in rooms if r.upper().startswith('AULA ')]
    if upper.startswith('EF'):
        preferred = [r for r in rooms if r.upper().startswith('GIMNASIO')
                     or names.get(r, '').startswith('gimnasio')]
    elif upper.startswith('FQ') or upper.startswith('BG'):
        labs = [r for r in rooms if r.upper().startswith(('LAB', 'LD'))
                or names.get(r, '').startswith('laboratorio')]
        # The matching laboratory first (biology for BG, physics/chemistry for FQ).
        words = ('biolog',) if upper.startswith('BG') else ('físic', 'fisic', 'químic', 'quimic')
        preferred = ([r for r in labs if any(w in names.get(r, '') for w in words)]
                     + [r for r in labs if not any(w in names.get(r, '') for w in words)])
    else:
        preferred = ordinary
    rest = [r for r in ordinary if r not in preferred]
    rest += [r for r in rooms if r not in preferred and r not in rest]
    return preferred, preferred + rest


class Week:
    """Occupancy of groups, teachers and rooms per (day, period)."""

    def __init__(self):
        self.groups = set()
        self.teachers = set()
        self.rooms = set()
        self.group_day = {}
        self.teacher_day = {}

    def free(self, group, teacher, day, period):
        if group and (key(group), day, period) in self.groups:
            return False
        if teacher and (key(teacher), day, period) in self.teachers:
            return False
        return True

    def free_room(self, candidates, day, period):
        for room in candidates:
            if (key(room), day, period) not in self.rooms:
                return room
        return None

    def take(self, group, teacher, room, day, period):
        if group:
            self.groups.add((key(group), day, period))
            self.group_day[(key(group), day)] = self.group_day.get((key(group), day), 0) + 1
        if teacher:
            self.teachers.add((key(teacher), day, period))
            self.teacher_day[(key(teacher), day)] = self.teacher_day.get((key(teacher), day), 0) + 1
        if room:
            self.rooms.add((key(room), day, period))


def schedule(assignments, rooms, names):
    week = Week()
    placed, missed = [], []

    teacher_load = {}
    for a in assignments:
        if a['teacher']:
            teacher_load[key(a['teacher'])] = teacher_load.get(key(a['teacher']), 0) + a['count']

    # Most constrained first: more sessions, busier teacher, then input order.
    order = sorted(assignments, key=lambda a: (-a['count'],
                                               -teacher_load.get(key(a['teacher']), 0),
                                               a['index']))
    for a in order:
        preferred, candidates = room_preferences(a['subject'], rooms, names)
        used_days = set()
        for _ in range(a['count']):
            best = None
            for d in range(DAYS):
                # Rotate the first day tried so that ties do not pile up on Monday.
                day = (d + a['index']) % DAYS + 1
                for period in range(1, PERIODS + 1):
                    if not week.free(a['group'], a['teacher'], day, period):
                        continue
                    room = week.free_room(candidates, day, period)
                    if room is None:
                        continue
                    score = (day in used_days,
                             room not in preferred,
                             week.group_day.get((key(a['group']), day), 0),
                             week.teacher_day.get((key(a['teacher']), day), 0),
                             period,
                             d)
                    if best is None or score < best[0]:
                        best = (score, day, period, room)
            if best is None:
                missed.append(a)
                continue
            _, day, period, room = best
            week.take(a['group'], a['teacher'], room, day, period)
            used_days.add(day)
            placed.append((day, period, a, room))

    placed.sort(key=lambda p: (p[0], p[1], p[2]['group'], p[2]['subject'], p[2]['teacher']))
    return week, placed, missed


def find_free_slot(week, group, teacher, rooms, skip=()):
    """First (day, period, room) where group, teacher and some room are free."""
    for day in range(1, DAYS + 1):
        for period in range(1, PERIODS + 1):
            if (day, period) in skip or not week.free(group, teacher, day, period):
                continue
            room = week.free_room(rooms, day, period)
            if room is not None:
                return day, period, room
    return None


def edge_rows(week, assignments, rooms):
    """Rows at the end of the table that exercise the importer's edge cases.

    Each tuple is (DIA, HORA, SESIONES, CODGRUPO, ASIG, TAREA, PROF, AULA, deleted).
    """
    rows = []
    first, second = assignments[0], assignments[-1]

    # Two unscheduled sessions (DIA 0).
    rows.append((0, 0, first['sesiones'], first['group'], first['subject'],
                 first['activity'], first['teacher'], '', False))
    rows.append((0, 3, second['sesiones'], second['group'], second['subject'],
                 second['activity'], second['teacher'], rooms[0], False))

    # A session with a day but no period (HORA 0).
    rows.append((2, 0, first['sesiones'], first['group'], first['subject'],
                 first['activity'], first['teacher'], rooms[0], False))

    # An unknown subject code, at a slot free for its group and teacher.
    for a in assignments[1:]:
        if not (a['group'] and a['teacher']):
            continue
        slot = find_free_slot(week, a['group'], a['teacher'], rooms)
        if slot:
            day, period, room = slot
            week.take(a['group'], a['teacher'], room, day, period)
            rows.append((day, period, a['sesiones'], a['group'], 'NOEXISTE',
                         a['activity'], a['teacher'], room, False))
            break

    # Teacher, group and room that match nothing.
    rows.append((3, 2, first['sesiones'], 'ZZGRUPO', first['subject'],
                 first['activity'], 'ZZPROF', 'ZZAULA', False))

    # The fixed teaching activity LECT, for the first real teacher and group
    # that still share a free slot.
    for a in assignments[2:]:
        if not (a['group'] and a['teacher']):
            continue
        slot = find_free_slot(week, a['group'], a['teacher'], rooms)
        if slot:
            day, period, room = slot
            week.take(a['group'], a['teacher'], room, day, period)
            rows.append((day, period, '1', a['group'], 'LECT', 'LECT',
                         a['teacher'], room, False))
            break

    # A deleted record: a duplicate of a real session that would double-book
    # its group and teacher if the reader did not skip deleted rows.
    rows.append((1, 1, first['sesiones'], first['group'], first['subject'],
                 first['activity'], first['teacher'], rooms[0], True))
    return rows


def write_soluc(path, placed, extra):
    if os.path.exists(path):
        os.remove(path)
    table = dbf.Table(path, FIELDS, dbf_type='db3', codepage='cp1252')
    table.open(dbf.READ_WRITE)
    try:
        for day, period, a, room in placed:
            table.append((day, period, a['sesiones'], a['group'], a['subject'],
                          a['activity'], a['teacher'], room))
        for row in extra:
            table.append(row[:8])
            if row[8]:
                dbf.delete(table[-1])
        count = len(table)
    finally:
        table.close()
    # The library stamps today's date in the header; pin it so that the same
    # input always gives a byte-identical file.
    with open(path, 'r+b') as out:
        out.seek(1)
        out.write(bytes(FIXED_DATE))
    return count


def check(path):
    """Re-read the table and report group, teacher or room double-bookings."""
    seen = {}
    problems = []
    for rec in read_table(path):
        day, period = int(rec.dia or 0), int(rec.hora or 0)
        if not (1 <= day <= DAYS and 1 <= period <= PERIODS):
            continue
        for kind, code in (('grupo', text(rec.codgrupo)), ('profesor', text(rec.prof)),
                           ('aula', text(rec.aula))):
            if not code:
                continue
            slot = (kind, key(code), day, period)
            if slot in seen:
                problems.append('%s %s duplicado en dia %d hora %d' % (kind, code, day, period))
            seen[slot] = True
    return problems


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    workdir, outdir = argv[1], argv[2]
    assignments = load_assignments(workdir)
    rooms, names = load_rooms(workdir)
    if not assignments or not rooms:
        sys.stderr.write('ASIGT or AULAT is empty in %s\n' % workdir)
        return 1

    week, placed, missed = schedule(assignments, rooms, names)
    extra = edge_rows(week, assignments, rooms)
    os.makedirs(outdir, exist_ok=True)
    path = os.path.join(outdir, 'SOLUC.DBF')
    rows = write_soluc(path, placed, extra)

    sys.stderr.write('assignments: %d\n' % len(assignments))
    sys.stderr.write('sessions placed: %d\n' % len(placed))
    sys.stderr.write('sessions that did not fit: %d\n' % len(missed))
    for a in missed:
        sys.stderr.write('  %s %s %s\n' % (a['subject'], a['teacher'], a['group']))
    deleted = sum(1 for row in extra if row[8])
    sys.stderr.write('edge-case rows: %d (%d deleted)\n' % (len(extra), deleted))
    sys.stderr.write('rows written: %d, %d of them deleted -> %s\n' % (rows, deleted, path))
    problems = check(path)
    for p in problems:
        sys.stderr.write('CONFLICT: %s\n' % p)
    sys.stderr.write('double-booking check: %s\n' % ('FAILED' if problems else 'ok'))
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
