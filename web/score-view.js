// The score drawn page by page: a page is asked of the worker when it comes
// into view, and every finding's note on it is coloured once it is drawn.
const PAGE_ASPECT = 2970 / 2100;

export class ScoreView {
  constructor(container, engine, handlers) {
    this.container = container;
    this.engine = engine;
    this.handlers = handlers;
    this.pages = [];
    this.generation = 0;
    this.setFindings([], []);
    this.observer = new IntersectionObserver((entries) => this.onVisible(entries), {
      root: container,
      rootMargin: '300px 0px',
    });
    container.addEventListener('click', (event) => this.onClick(event));
  }

  // A new layout of pageCount pages; the drawn pages of an earlier one are dropped.
  reset(pageCount) {
    this.generation++;
    this.observer.disconnect();
    this.setFindings([], []);
    this.pages = [];
    const fragment = document.createDocumentFragment();
    for (let number = 1; number <= pageCount; number++) {
      const page = document.createElement('div');
      page.className = 'page';
      page.dataset.page = String(number);
      page.style.aspectRatio = String(1 / PAGE_ASPECT);
      this.pages.push({ element: page, drawn: null });
      fragment.appendChild(page);
    }
    this.container.replaceChildren(fragment);
    this.container.scrollTop = 0;
    for (const page of this.pages) this.observer.observe(page.element);
  }

  // findings of the scan; rowStates[i].checked says how finding i's note is coloured.
  setFindings(findings, rowStates) {
    this.findings = findings;
    this.rowStates = rowStates;
    this.selected = -1;
    this.findingsOfNote = new Map();
    findings.forEach((finding, index) => {
      const id = 'rzn-' + finding.noteIndex;
      if (!this.findingsOfNote.has(id)) this.findingsOfNote.set(id, []);
      this.findingsOfNote.get(id).push(index);
    });
    this.recolourAll();
  }

  onVisible(entries) {
    for (const entry of entries) {
      if (entry.isIntersecting) this.draw(Number(entry.target.dataset.page));
    }
  }

  // Draws a page once; answers when it is in the document.
  draw(number) {
    const page = this.pages[number - 1];
    if (!page) return Promise.resolve();
    if (!page.drawn) {
      const generation = this.generation;
      page.drawn = this.engine.request('render', { page: number }).then((svg) => {
        if (generation !== this.generation) return;
        page.element.innerHTML = svg;
        page.element.style.aspectRatio = '';
        page.element.classList.add('drawn');
        this.colourPage(page.element);
      });
    }
    return page.drawn;
  }

  // Colours the notes of the findings on a drawn page: the first finding of a
  // note names it, and the note shows checked when any of its findings is.
  colourPage(pageElement) {
    for (const note of pageElement.querySelectorAll('g.note')) {
      const indexes = this.findingsOfNote.get(note.id);
      if (!indexes && note.dataset.finding === undefined) continue;
      note.classList.remove('rz-checked', 'rz-unchecked');
      delete note.dataset.finding;
      if (!indexes) continue;
      const checked = indexes.some((index) => this.rowStates[index].checked);
      note.dataset.finding = String(indexes[0]);
      note.classList.add(checked ? 'rz-checked' : 'rz-unchecked');
    }
  }

  recolourAll() {
    for (const page of this.pages) {
      if (page.element.classList.contains('drawn')) this.colourPage(page.element);
    }
  }

  noteElement(noteIndex) {
    return noteIndex < 0 ? null : this.container.querySelector('[id="rzn-' + noteIndex + '"]');
  }

  markSelected() {
    for (const element of this.container.querySelectorAll('.rz-selected, .rz-reference')) {
      element.classList.remove('rz-selected', 'rz-reference');
    }
    const finding = this.findings[this.selected];
    if (!finding) return;
    this.noteElement(finding.noteIndex)?.classList.add('rz-selected');
    this.noteElement(finding.relatedNoteIndex)?.classList.add('rz-reference');
  }

  // Scrolls to a finding's note, drawing its page (and its reference note's) first.
  async select(index) {
    this.selected = index;
    const finding = this.findings[index];
    if (!finding) return;
    const generation = this.generation;
    const [page, relatedPage] = await Promise.all([
      this.engine.request('pageOfNote', { noteIndex: finding.noteIndex }),
      this.engine.request('pageOfNote', { noteIndex: finding.relatedNoteIndex }),
    ]);
    await Promise.all([this.draw(page), this.draw(relatedPage)]);
    if (this.selected !== index || generation !== this.generation) return;
    this.markSelected();
    const note = this.noteElement(finding.noteIndex);
    if (note) note.scrollIntoView({ block: 'center', inline: 'center' });
    else this.pages[page - 1]?.element.scrollIntoView({ block: 'start' });
  }

  onClick(event) {
    const note = event.target.closest('g.note[data-finding]');
    if (note) this.handlers.onNoteClicked(Number(note.dataset.finding));
  }
}
