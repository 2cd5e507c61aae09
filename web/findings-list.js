// The findings as a checkable five-column list, as the plug-in's report shows
// them: check boxes, one selected row, the parentheses toggle, Check All/None,
// and the keys up, down and space.
const COLUMNS = ['staff', 'location', 'note', 'info', 'accidental'];

// The Accidental cell for a parentheses choice: "(#) *" with them, "# *" without.
export function accidentalText(cell, parentheses) {
  const starred = cell.endsWith(' *');
  const bare = (starred ? cell.slice(0, -2) : cell).replace(/^\((.*)\)$/, '$1');
  return (parentheses ? '(' + bare + ')' : bare) + (starred ? ' *' : '');
}

export class FindingsList {
  constructor(table, handlers) {
    this.body = table.querySelector('tbody');
    this.table = table;
    this.handlers = handlers;
    this.rows = [];
    this.selected = -1;
    this.body.addEventListener('click', (event) => this.onClick(event));
    table.addEventListener('keydown', (event) => this.onKey(event));
  }

  // findings: the scan's findings; each row keeps its own checked and
  // parentheses state, starting from the finding's.
  show(findings) {
    this.rows = findings.map((finding) => ({
      finding,
      checked: finding.checked,
      parentheses: finding.parentheses,
    }));
    this.selected = -1;
    const fragment = document.createDocumentFragment();
    this.rows.forEach((row, index) => fragment.appendChild(this.makeRow(row, index)));
    this.body.replaceChildren(fragment);
    this.handlers.onChange();
  }

  makeRow(row, index) {
    const tr = document.createElement('tr');
    tr.dataset.finding = String(index);
    tr.dataset.note = 'rzn-' + row.finding.noteIndex;
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.checked = row.checked;
    box.setAttribute('aria-label', 'Apply finding ' + (index + 1));
    const first = document.createElement('td');
    first.appendChild(box);
    tr.appendChild(first);
    for (const key of COLUMNS) {
      const td = document.createElement('td');
      td.textContent = key === 'accidental' ? accidentalText(row.finding.accidental, row.parentheses) : row.finding[key];
      tr.appendChild(td);
    }
    return tr;
  }

  rowElement(index) {
    return this.body.children[index];
  }

  onClick(event) {
    const tr = event.target.closest('tr[data-finding]');
    if (!tr) return;
    const index = Number(tr.dataset.finding);
    if (event.target.type === 'checkbox') {
      this.setChecked(index, event.target.checked);
    }
    this.select(index);
  }

  onKey(event) {
    if (this.rows.length === 0) return;
    if (event.key === 'ArrowDown' || event.key === 'ArrowUp') {
      const step = event.key === 'ArrowDown' ? 1 : -1;
      const next = Math.min(this.rows.length - 1, Math.max(0, this.selected + step));
      this.select(next);
      event.preventDefault();
    } else if (event.key === ' ' && this.selected >= 0) {
      this.setChecked(this.selected, !this.rows[this.selected].checked);
      event.preventDefault();
    }
  }

  select(index) {
    if (index < 0 || index >= this.rows.length) return;
    if (this.selected >= 0) this.rowElement(this.selected).classList.remove('selected');
    this.selected = index;
    const tr = this.rowElement(index);
    tr.classList.add('selected');
    tr.scrollIntoView({ block: 'nearest' });
    if (document.activeElement !== this.table && !this.table.contains(document.activeElement)) {
      this.table.focus({ preventScroll: true });
    }
    this.handlers.onSelect(index);
    this.handlers.onChange();
  }

  setChecked(index, checked) {
    this.rows[index].checked = checked;
    this.rowElement(index).querySelector('input').checked = checked;
    this.handlers.onCheck(index);
    this.handlers.onChange();
  }

  // Check All/None: when any row is checked every row is unchecked, else all are checked.
  checkAllOrNone() {
    const value = !this.rows.some((row) => row.checked);
    this.rows.forEach((row, index) => {
      row.checked = value;
      this.rowElement(index).querySelector('input').checked = value;
    });
    this.handlers.onCheck(-1);
    this.handlers.onChange();
  }

  toggleParentheses() {
    if (this.selected < 0) return;
    const row = this.rows[this.selected];
    row.parentheses = !row.parentheses;
    this.rowElement(this.selected).lastChild.textContent = accidentalText(row.finding.accidental, row.parentheses);
  }

  // What apply is given: the checked rows with their parentheses choice.
  choices() {
    const chosen = [];
    this.rows.forEach((row, index) => {
      if (row.checked) chosen.push({ index, parentheses: row.parentheses });
    });
    return chosen;
  }
}
